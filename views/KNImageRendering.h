#pragma once

#include "Camera.h"
#include "ScenePass.h"
#include "Transform.h"

#include <QImage>
#include <QSize>
#include <memory>

class KNScenePicture;
class Texture2D;

namespace kinora {
class Framebuffer;
}

// A picture for an export, drawn off screen over as many calls as it takes, with the camera and
// placement the picture had when the rendering began: its own camera is in place only while a
// slice draws, so a window showing it may turn, draw and answer in between. The overlay (labels,
// colour key) is drawn once the picture is complete, as KNOpenGLView::renderImage does, and the
// image has the pixels renderImage gives. Sizes on the picture (text, points, lines) grow with
// pixelsPerPoint: at k times a view's size it looks like the view on a screen k times as dense.
// The scene must not change meanwhile (see KNOpenGLView::pictureRevision). Needs no window; owns
// its GL objects; the picture must outlive it.
class KNImageRendering {
public:
    using Clock = kinora::ScenePass::Clock;

    // The size of the image asked for: smaller, of the same shape, beyond what the GL or the
    // memory budget allows (KNImageLimits).
    static QSize fittedSize(QSize wantedSize);

    // wantedSize must not be empty, and the picture must have been set up. The image has
    // pixelsPerPoint pixels per point of the picture.
    KNImageRendering(KNScenePicture& picture, QSize wantedSize, double pixelsPerPoint);
    ~KNImageRendering();
    KNImageRendering(const KNImageRendering&) = delete;
    KNImageRendering& operator=(const KNImageRendering&) = delete;

    QSize size() const;
    // Draws on until the picture is complete (returned) or the deadline has passed.
    bool drawUntil(Clock::time_point deadline);
    // The part drawn, from 0 to 1.
    double progress() const;
    // The complete picture, opaque, rows top-down.
    QImage image() const;
    // The complete picture as the GL holds it: rows bottom-up, transparent where nothing was
    // drawn. imageFromPixels makes it the image, and may run on any thread.
    QImage pixels() const;
    static QImage imageFromPixels(QImage pixels);

private:
    KNScenePicture& drawn;
    std::unique_ptr<Texture2D> picture;
    std::unique_ptr<kinora::Framebuffer> target;
    kinora::Camera camera;
    kinora::Transform placement;
    double pixelsPerPoint;
    kinora::ScenePass pass;
    bool complete = false;
};
