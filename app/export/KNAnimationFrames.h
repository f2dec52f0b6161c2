#pragma once

#include "KNError.h"
#include "KNViewCamera.h"

#include <optional>
#include <string>

class KNPlotImageRenderer;

// The plot view's animation as numbered PNG pictures in a folder, drawn as a playing window
// draws it: picture k of n has the time cursor at k / (n - 1) of the duration, so the first
// shows each path's head at its seed and the last is the whole picture, as the image export
// draws it.
class KNAnimationFrames {
public:
    static constexpr int maxFrames = 100000;

    // "frame-0000.png" and on, with as many digits as the last needs (at least four), so the
    // names sort in the order of the pictures.
    static std::string frameName(int index, int count);
    // Why folder cannot take count pictures: it is not a folder, or it holds pictures of an
    // earlier export that these would not replace and that a video made from it would show
    // after them. Nothing when it can.
    static std::optional<std::string> folderRefusal(const std::string& folder, int count);
    // Makes folder when it is missing and writes the pictures into it, each width x height
    // pixels, with camera or framed as the image export frames the scene.
    static bool write(KNPlotImageRenderer& renderer, const std::optional<KNViewCamera>& camera,
                      int width, int height, const std::string& folder, int count, KNError* error);
};
