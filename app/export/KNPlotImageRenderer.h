#pragma once

#include "KNError.h"
#include "KNViewCamera.h"
#include "PoincareSection.h"

#include <memory>
#include <optional>
#include <string>

class KNPlotPicture;
class KNPlotViewPathFeed;

namespace kinora {
class Exploration;
class SectionDotsFollower;
} // namespace kinora

// What a window showing a session adds to its paths, for its picture.
struct KNPlotImageAnalysis {
    // The section plane with the paths' crossings, when the section is shown.
    std::optional<kinora::PoincareSection> section;
    // The equilibria's markers, shown while the findings panel is.
    bool markers = false;
    bool colourByExponent = false;
};

// Draws an exploration's plot picture off screen into a PNG file, as a window showing it draws it:
// its seeds and their paths, the sweep key, with a saved camera or framed as a new window
// frames its scene, and what the window adds to them. It takes the exploration's paths as they are
// computed, from its making on, so it is made before they are. Creates no window, widget or view:
// it needs a QGuiApplication (for the labels' text) and the shared GL context, which may be a
// headless one.
class KNPlotImageRenderer {
public:
    explicit KNPlotImageRenderer(kinora::Exploration& exploration,
                                 const KNPlotImageAnalysis& analysis = {});
    ~KNPlotImageRenderer();
    KNPlotImageRenderer(const KNPlotImageRenderer&) = delete;
    KNPlotImageRenderer& operator=(const KNPlotImageRenderer&) = delete;

    // width x height pixels into path, replaced only once the image is complete. camera is a
    // session's; without one the scene is framed in a view of the picture's size. The paths must
    // be complete; markers and colours by exponent are computed for them first.
    bool write(const std::optional<KNViewCamera>& camera, int width, int height,
               const std::string& path, KNError* error = nullptr);
    // Where the time cursor stands for the pictures written from now on, as a part of the
    // duration; 1 (the end) draws the paths whole.
    void setTimeFraction(double fraction);
    // The picture drawn, holding the exploration's seeds and their paths in the same order.
    KNPlotPicture& plotPicture() { return *picture; }

private:
    // The analysis over the completed paths, as the window shows it: computed once, for every
    // picture written.
    void showAnalysis();

    kinora::Exploration& exploration;
    const KNPlotImageAnalysis analysis;
    std::unique_ptr<KNPlotPicture> picture;
    std::unique_ptr<KNPlotViewPathFeed> paths;
    // Told the paths before they are handed on to the view, when the section is shown.
    std::unique_ptr<kinora::SectionDotsFollower> crossings;
    bool analysisShown = false;
};
