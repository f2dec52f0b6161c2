#include "KNImageRendering.h"

#include "Framebuffer.h"
#include "KNImageLimits.h"
#include "KNOffscreenImages.h"
#include "KNRenderCallbacks.h"
#include "KNScenePicture.h"
#include "KNSharedContext.h"
#include "Scene.h"
#include "Texture2D.h"

#include <cassert>
#include <epoxy/gl.h>
#include <utility>

namespace {
// Picture, depth and stencil.
constexpr int exportBytesPerPixel = 8;
} // namespace

QSize KNImageRendering::fittedSize(QSize wantedSize) {
    KNSharedContext::makeCurrentAnywhere();
    return KNImageLimits::fit(wantedSize, exportBytesPerPixel);
}

KNImageRendering::KNImageRendering(KNScenePicture& drawn, QSize wantedSize, double pixelsPerPoint)
    : drawn(drawn), camera(drawn.scene->camera), placement(drawn.scene->transform),
      pixelsPerPoint(pixelsPerPoint) {
    assert(!wantedSize.isEmpty());
    KNSharedContext::makeCurrentAnywhere();
    const QSize pixelSize = fittedSize(wantedSize);
    picture = makeOffscreenImage(pixelSize.width(), pixelSize.height());
    target = makePictureTarget(picture.get(), nullptr);
    // The same vertical extent, the width following the image's shape.
    const double aspect =
        static_cast<double>(pixelSize.width()) / static_cast<double>(pixelSize.height());
    const double centre = (static_cast<double>(camera.left) + camera.right) / 2.0;
    const double halfWidth = aspect * (static_cast<double>(camera.top) - camera.bottom) / 2.0;
    camera.setFrustum(static_cast<float>(centre - halfWidth),
                      static_cast<float>(centre + halfWidth), camera.bottom, camera.top,
                      camera.near, camera.far);
}

KNImageRendering::~KNImageRendering() {
    KNSharedContext::makeCurrentAnywhere();
    target.reset();
    picture.reset();
}

QSize KNImageRendering::size() const {
    return {picture->width, picture->height};
}

bool KNImageRendering::drawUntil(Clock::time_point deadline) {
    if (complete) {
        return true;
    }
    KNSharedContext::makeCurrentAnywhere();
    kinora::Scene& scene = *drawn.scene;
    // The export's camera for this slice only; the window's comes back for its own drawing.
    std::swap(scene.camera, camera);
    std::swap(scene.transform, placement);
    drawn.fitAxesToCamera();
    setDrawingDensity(pixelsPerPoint);
    complete = drawn.drawPicture(*target, pass, deadline);
    if (complete) {
        drawn.drawOverlay(*target, pixelsPerPoint);
    }
    std::swap(scene.camera, camera);
    std::swap(scene.transform, placement);
    return complete;
}

double KNImageRendering::progress() const {
    const std::size_t renderables = drawn.scene->renderables.size();
    if (complete || renderables == 0) {
        return complete ? 1.0 : 0.0;
    }
    return static_cast<double>(pass.renderable) / static_cast<double>(renderables);
}

QImage KNImageRendering::image() const {
    return imageFromPixels(pixels());
}

QImage KNImageRendering::pixels() const {
    KNSharedContext::makeCurrentAnywhere();
    QImage pixels(size(), QImage::Format_RGBX8888);
    target->bind();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, pixels.width(), pixels.height(), GL_RGBA, GL_UNSIGNED_BYTE, pixels.bits());
    target->unbind();
    return pixels;
}

QImage KNImageRendering::imageFromPixels(QImage pixels) {
    // Transparent where nothing was drawn; the window shows it opaque.
    for (int row = 0; row < pixels.height(); ++row) {
        uchar* line = pixels.scanLine(row);
        for (int x = 0; x < pixels.width(); ++x) {
            line[4 * x + 3] = 0xff;
        }
    }
    // GL rows run bottom-up.
    return pixels.mirrored();
}
