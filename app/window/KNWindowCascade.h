#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

// Places each new window one step below and to the right of the newest window placed before it
// that is still open, so windows opened one after another do not cover each other exactly, even
// after the newest was closed. A window that would reach past the screen's free area starts the
// cascade again at its top left. The first window, or one placed when none of the earlier ones
// is open, is left where the window system puts it.
class KNWindowCascade {
public:
    static constexpr int step = 32;

    // Call before the window is shown.
    void place(QWidget* window);

private:
    // The windows placed so far, oldest first; closed ones are dropped on the next placement.
    std::vector<QPointer<QWidget>> placed;
};
