#pragma once

class KNPlotWindowController;
struct KNSession;

// What a saved session gives a window beyond its exploration: the window's and the views' sizes,
// the cameras, which panels show, the paths' colouring and the analysis panels' settings.
class KNSessionWindowLayout {
public:
    // Before the window shows; sizes are kept within the screen it opens on.
    static void restore(KNPlotWindowController& controller, const KNSession& session);
};
