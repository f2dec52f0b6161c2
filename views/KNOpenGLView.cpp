#include "KNOpenGLView.h"

#include "BoundingBox.h"
#include "Framebuffer.h"
#include "KNFrameStatistics.h"
#include "KNImageLimits.h"
#include "KNImageRendering.h"
#include "KNOffscreenImages.h"
#include "KNRenderCallbacks.h"
#include "KNSharedContext.h"
#include "Matrix3.h"
#include "Matrix4.h"
#include "Renderable.h"
#include "Scene.h"
#include "SceneFraming.h"
#include "Texture2D.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <epoxy/gl.h>
#include <limits>
#include <utility>

namespace {
constexpr int initialImageSize = 480;
// One notch of a mouse wheel (120 eighths of a degree) scales the scene by 10 %: at the desktop's
// lines per notch (often 3, that is 3 %) a Lorenz attractor took some eighty notches to fit.
constexpr double scrollDeltaPerNotch = 10.0;
// Touchpads report pixels, many per gesture; this many count as one unit of scroll delta.
constexpr double touchpadPixelsPerDelta = 10.0;
// One wheel event never scales by more than this factor (or its inverse).
constexpr float maximumScrollFactor = 2.0f;
// Bytes per pixel of a view's images: picture, pick image, depth and stencil, and the plot view's
// kept layer of picture, depth and stencil.
constexpr int viewBytesPerPixel = 20;
// However often the pointer moves, what lies under it is looked up once a frame at most.
constexpr std::chrono::milliseconds hoverPickInterval{16};
// Posted by requestRedraw; one at most per view is on its way.
const QEvent::Type redrawEventType = static_cast<QEvent::Type>(QEvent::registerEventType());

double clampedScale(double scale) {
    return std::clamp(scale, KNOpenGLView::minimumSceneScale, KNOpenGLView::maximumSceneScale);
}
} // namespace

KNOpenGLView::KNOpenGLView(QWindow* parent)
    : KNOpenGLView(std::make_unique<KNScenePicture>(), parent) {}

KNOpenGLView::KNOpenGLView(std::unique_ptr<KNScenePicture> picture, QWindow* parent)
    : QWindow(parent), windowContext(this), picture(std::move(picture)) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(KNSharedContext::format());
    nextSlice.setSingleShot(true);
    nextSlice.setInterval(0);
    hoverPick.setSingleShot(true);
    hoverPick.setInterval(hoverPickInterval);
    QObject::connect(&hoverPick, &QTimer::timeout, this, [this] {
        // Picking would draw the pick image of a picture still being drawn in slices, and
        // again after every slice: the pointer is looked up once the picture is whole.
        if (pictureUnfinished) {
            hoverPick.start();
        } else {
            mouseHovered(hoverLocation);
        }
    });
    QObject::connect(&nextSlice, &QTimer::timeout, this, [this] {
        if (pictureUnfinished) {
            KNFrameStatistics::beginEvent("continue");
            drawSlice(kinora::ScenePass::Clock::now() + laterSlice);
        }
    });
}

KNOpenGLView::~KNOpenGLView() {
    attachContextForTeardown();
}

QOpenGLContext* KNOpenGLView::sharedContext() {
    return KNSharedContext::context();
}

std::string KNOpenGLView::resourcePath(const std::string& baseName, const std::string& type) {
    return KNScenePicture::resourcePath(baseName, type);
}

void KNOpenGLView::awakeFromNib() {
    assert(!picture->isSetUp() && "awakeFromNib runs once per view");
    sharedContext();
    ensureContext();
    // For diagnosing windows; a headless export stays quiet when it succeeds.
    if (!KNSharedContext::isHeadless()) {
        std::fprintf(stderr, "Using Context: %s\n",
                     reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    }
    buildOffscreenImages(initialImageSize, initialImageSize);
    picture->setUp(framebuffer.get());
    selected = nullptr;
}

void KNOpenGLView::buildOffscreenImages(int width, int height) {
    auto image = makeOffscreenImage(width, height);
    auto ids = makeOffscreenImage(width, height);
    auto target = makePictureTarget(image.get(), ids.get());
    if (picture->isSetUp()) {
        picture->scene->framebuffer = target.get();
    }
    framebuffer = std::move(target);
    displayTexture = std::move(image);
    pickTexture = std::move(ids);
    pickImageStale = true;
}

void KNOpenGLView::update() {
    if (!picture->isSetUp()) {
        return;
    }
    KNFrameStatistics::beginEvent("resize");
    ensureContext();
    const QSize images = KNImageLimits::fit(QSize(pixelWidth(), pixelHeight()), viewBytesPerPixel);
    buildOffscreenImages(images.width(), images.height());
    picture->setAspect(static_cast<double>(frameWidth()) / static_cast<double>(frameHeight()));
    scheduleRedraw();
}

void KNOpenGLView::redraw() {
    picturePass = {};
    drawSlice(kinora::ScenePass::Clock::time_point::max());
}

void KNOpenGLView::drawSlice(kinora::ScenePass::Clock::time_point deadline) {
    nextSlice.stop();
    if (!picture->isSetUp()) {
        return;
    }
    const bool wasRequested = std::exchange(redrawPending, false);
    ensureContext();
    const KNStopwatch drawing;
    picture->fitAxesToCamera();
    picture->setDevicePixelRatio(devicePixelRatio());
    setDrawingDensity(devicePixelRatio());
    const auto start = kinora::ScenePass::Clock::now();
    const bool bounded = deadline != kinora::ScenePass::Clock::time_point::max();
    // The renderer goes on with what was sent after the sending has stopped: send for the share
    // of the slice that sending took of the last bounded slice, so the slice, presenting
    // included, ends near its deadline and the window answers input in time.
    const auto sendingDeadline =
        bounded && deadline > start
            ? start + std::chrono::duration_cast<kinora::ScenePass::Clock::duration>(
                          (deadline - start) * sendingShare)
            : deadline;
    const bool complete = picture->drawPicture(*framebuffer, picturePass, sendingDeadline);
    const auto sent = kinora::ScenePass::Clock::now() - start;
    if (complete) {
        picture->drawOverlay(*framebuffer, devicePixelRatio());
    }
    pickImageStale = true;
    if (KNFrameStatistics::enabled()) {
        // The renderer may defer the work: finish it so it counts as drawing, not presenting.
        glFinish();
    }
    const auto drawTime = drawing.elapsed();
    const KNStopwatch presenting;
    if (showsSlice(complete, kinora::ScenePass::Clock::now())) {
        present();
    } else {
        // The renderer finishes what was sent now, within the slice, rather than all of it at
        // the next present.
        glFlush();
    }
    KNFrameStatistics::redrawDone(drawTime, presenting.elapsed(), wasRequested,
                                  statisticsSeedCount(), framebuffer->getWidth(),
                                  framebuffer->getHeight());
    const auto whole = kinora::ScenePass::Clock::now() - start;
    if (bounded && !complete && whole.count() > 0) {
        sendingShare = std::clamp(std::chrono::duration<double>(sent) / whole, 0.05, 1.0);
    }
    pictureUnfinished = !complete;
    if (pictureUnfinished) {
        nextSlice.start();
    }
}

bool KNOpenGLView::showsSlice(bool complete, kinora::ScenePass::Clock::time_point now) {
    if (complete) {
        unshownSince.reset();
        return true;
    }
    if (!unshownSince) {
        unshownSince = now;
    }
    if (now - *unshownSince < unfinishedShownAfter) {
        return false;
    }
    unshownSince = now;
    return true;
}

void KNOpenGLView::requestRedraw() {
    ++revision;
    scheduleRedraw();
}

void KNOpenGLView::scheduleRedraw() {
    supersededUnfinished = supersededUnfinished || pictureUnfinished;
    pictureUnfinished = false;
    picturePass = {};
    if (redrawPending) {
        return;
    }
    redrawPending = true;
    KNFrameStatistics::redrawRequested();
    QCoreApplication::postEvent(this, new QEvent(redrawEventType));
}

bool KNOpenGLView::isDrawing() const {
    return redrawPending || pictureUnfinished;
}

void KNOpenGLView::setDrawingSlices(std::chrono::milliseconds first,
                                    std::chrono::milliseconds later) {
    firstSlice = first;
    laterSlice = later;
}

bool KNOpenGLView::event(QEvent* event) {
    if (event->type() == redrawEventType) {
        // A redraw done since the request has already shown everything.
        if (redrawPending) {
            const auto slice = std::exchange(supersededUnfinished, false) ? laterSlice : firstSlice;
            drawSlice(kinora::ScenePass::Clock::now() + slice);
        }
        return true;
    }
    if (event->type() == QEvent::Leave) {
        hoverPick.stop();
        mouseHovered(std::nullopt);
    }
    return QWindow::event(event);
}

void KNOpenGLView::present() {
    // An unexposed window has no drawable to present to; the off-screen picture is up to date
    // regardless.
    if (!isExposed() || handle() == nullptr) {
        return;
    }
    // Attaching the context to a window makes the platform allocate its buffers at the
    // window's size: gigabytes for the largest windows.
    const QSize windowPixels(pixelWidth(), pixelHeight());
    if (!KNImageLimits::canPresent(windowPixels)) {
        if (!tooLargeReported) {
            std::fprintf(stderr,
                         "A view of %d x %d pixels is larger than the GL can show (at most %d on "
                         "a side); it stays blank until it is smaller.\n",
                         windowPixels.width(), windowPixels.height(), KNImageLimits::largestSide());
            tooLargeReported = true;
        }
        return;
    }
    tooLargeReported = false;
    // Another context sees what the drawing context did only once that work has completed, so
    // the window's context waits for the picture on the CPU: a wait queued on the GPU
    // (glWaitSync) orders nothing for a renderer that reads the texture on the CPU.
    ensureContext();
    GLsync drawn = glFenceSync(GL_SYNC_GPU_COMMANDS_COMPLETE, 0);
    glFlush();
    if (windowContext.makeCurrent()) {
        glClientWaitSync(drawn, 0, std::numeric_limits<GLuint64>::max());
        copyPictureOntoWindow(windowPixels);
        windowContext.swapBuffers();
        // The next picture is drawn into the same texture: this context must be done reading it.
        glFinish();
    }
    glDeleteSync(drawn);
    ensureContext();
}

void KNOpenGLView::copyPictureOntoWindow(QSize windowPixels) {
    // Framebuffer objects are not shared between contexts: the window's context reads the
    // shared picture texture through one of its own.
    kinora::Framebuffer picture(static_cast<float>(framebuffer->getWidth()),
                                static_cast<float>(framebuffer->getHeight()));
    picture.attachTexture(displayTexture.get(), GL_COLOR_ATTACHMENT0);
    const GLuint window = windowContext.defaultFramebufferObject();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, picture.id);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, window);
    // Images capped below the window's size are stretched over it.
    const bool sameSize = framebuffer->getWidth() == windowPixels.width() &&
                          framebuffer->getHeight() == windowPixels.height();
    glBlitFramebuffer(0, 0, framebuffer->getWidth(), framebuffer->getHeight(), 0, 0,
                      windowPixels.width(), windowPixels.height(), GL_COLOR_BUFFER_BIT,
                      sameSize ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_FRAMEBUFFER, window);
    if (KNSharedContext::windowHasAlpha()) {
        // The picture is transparent where nothing was drawn; the window shows it opaque.
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    }
}

QImage KNOpenGLView::renderImage(QSize wantedSize) {
    if (!picture->isSetUp() || wantedSize.isEmpty()) {
        return {};
    }
    picture->setDevicePixelRatio(devicePixelRatio());
    // As many pixels per point as the image's height has per point of the view's height.
    KNImageRendering rendering(
        *picture, wantedSize,
        static_cast<double>(KNImageRendering::fittedSize(wantedSize).height()) / frameHeight());
    rendering.drawUntil(kinora::ScenePass::Clock::time_point::max());
    return rendering.image();
}

void KNOpenGLView::setZoom(float zoom) {
    if (!picture->isSetUp()) {
        return;
    }
    const double scale = clampedScale(static_cast<double>(zoom));
    picture->scene->transform.scale = kinora::Vector3(scale, scale, scale);
}

void KNOpenGLView::setViewCamera(const KNViewCamera& camera) {
    picture->setViewCamera(camera);
}

void KNOpenGLView::frameBox(const kinora::BoundingBox& box, double margin) {
    picture->frameBox(box, margin);
}

KNViewCamera KNOpenGLView::viewCamera() const {
    KNViewCamera camera;
    camera.width = frameWidth();
    camera.height = frameHeight();
    if (picture->isSetUp()) {
        camera.sceneTransform = picture->scene->transform;
        camera.eye = picture->scene->camera.transform;
        camera.zoom = picture->scene->camera.zoom;
        camera.projection = picture->scene->camera.kind;
    }
    return camera;
}

void KNOpenGLView::lookAlong(kinora::ViewAxis axis) {
    if (picture->isSetUp()) {
        picture->scene->transform.rotation =
            kinora::sceneRotationLookingAlong(axis, picture->scene->camera.transform.rotation);
    }
}

void KNOpenGLView::setProjection(kinora::Camera::Projection projection) {
    if (picture->isSetUp()) {
        picture->scene->camera.kind = projection;
    }
}

kinora::Camera::Projection KNOpenGLView::projection() const {
    return picture->isSetUp() ? picture->scene->camera.kind
                              : kinora::Camera::Projection::perspective;
}

void KNOpenGLView::rememberOpeningCamera() {
    if (picture->isSetUp()) {
        openingPlacement = picture->scene->transform;
    }
}

void KNOpenGLView::resetView() {
    if (picture->isSetUp()) {
        picture->scene->transform = openingPlacement;
    }
}

void KNOpenGLView::panned(QPointF from, QPointF to) {
    picture->scene->transform.position +=
        kinora::panTranslation(to.x() - from.x(), to.y() - from.y(), frameHeight(),
                               picture->scene->camera, picture->scene->transform.position);
}

void KNOpenGLView::mouseDown(QPointF locationInView) {
    if (!picture->isSetUp()) {
        return;
    }
    ensureContext();
    previousPointInView = locationInView;
    kinora::Renderable* under = renderableUnder(locationInView);
    kinora::Renderable* picked = selectionFor(under);
    dragsSelection = picked != nullptr && picked == under;
    kinora::Renderable* previous = selected;
    renderableWasDeselected(selected);
    selected = picked;
    if (picked != nullptr) {
        renderableWasSelected(picked);
    }
    // The selection shows at once (a selected seed is drawn larger).
    if (picked != previous) {
        KNFrameStatistics::beginEvent("select");
        requestRedraw();
    }
}

void KNOpenGLView::updatePickImage() {
    if (!pickImageStale) {
        return;
    }
    picture->setDevicePixelRatio(devicePixelRatio());
    setDrawingDensity(devicePixelRatio());
    drawPickImage();
    pickImageStale = false;
}

void KNOpenGLView::drawPickImage() {
    // The view's own pickable objects, whatever a subclass lets be selected, at the sizes shown.
    picture->scene->drawPickImage(
        [this](int, kinora::Renderable& r) { return KNOpenGLView::isSelectable(&r); });
}

kinora::Renderable* KNOpenGLView::renderableUnder(QPointF locationInView) {
    ensureContext();
    updatePickImage();
    const QPoint pixel = pickPixel(locationInView);
    return picture->scene->renderableAt(pixel.x(), pixel.y());
}

kinora::Renderable* KNOpenGLView::selectionFor(kinora::Renderable* picked) {
    return picked != nullptr && isSelectable(picked) ? picked : nullptr;
}

void KNOpenGLView::mouseHovered(std::optional<QPointF>) {}

void KNOpenGLView::hoverLater(QPointF locationInView) {
    hoverLocation = locationInView;
    if (!hoverPick.isActive()) {
        hoverPick.start();
    }
}

QPoint KNOpenGLView::pickPixel(QPointF locationInView) const {
    // Pixel rows are counted from the top in the window and from the bottom in the images: a
    // point inside the window's row r (top-down) lies in image row height - 1 - r. Images
    // capped below the window's size cover it at a coarser scale.
    const int width = framebuffer->getWidth();
    const int height = framebuffer->getHeight();
    const double ratio = devicePixelRatio();
    const double scaleX = static_cast<double>(width) / pixelWidth();
    const double scaleY = static_cast<double>(height) / pixelHeight();
    const int column = static_cast<int>(std::floor(locationInView.x() * ratio * scaleX));
    const int rowFromTop =
        static_cast<int>(std::floor((frameHeight() - locationInView.y()) * ratio * scaleY));
    return QPoint(std::clamp(column, 0, width - 1),
                  std::clamp(height - 1 - rowFromTop, 0, height - 1));
}

void KNOpenGLView::mouseDragged(QPointF locationInView) {
    if (!picture->isSetUp()) {
        return;
    }
    KNFrameStatistics::beginEvent(panning                                 ? "pan"
                                  : selected != nullptr && dragsSelection ? "drag"
                                                                          : "rotate");
    ensureContext();
    const QPointF c = locationInView;
    const QPointF p = previousPointInView;
    if (panning) {
        panned(p, c);
    } else if (selected != nullptr && dragsSelection) {
        renderableDraggedFromPointToPoint(selected, p, c);
    } else {
        // One point of travel turns the scene by one degree about the screen-plane axis
        // perpendicular to the movement.
        const float dx = static_cast<float>(c.x() - p.x());
        const float dy = static_cast<float>(c.y() - p.y());
        kinora::Vector3 axis(-dy, dx, 0.0);
        const float angle = std::sqrt(
            static_cast<float>(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
        const float inverse = 1.0f / angle;
        if (!std::isnan(inverse) && !std::isinf(inverse)) {
            axis = kinora::Vector3(axis.x / angle, axis.y / angle, axis.z / angle);
        }
        picture->scene->transform.rotate(angle, axis);
    }
    previousPointInView = c;
    requestRedraw();
}

void KNOpenGLView::mouseUp(QPointF) {
    dragDidEnd();
}

void KNOpenGLView::dragDidEnd() {}

int KNOpenGLView::statisticsSeedCount() const {
    return -1;
}

void KNOpenGLView::scrollWheel(double deltaY) {
    if (!picture->isSetUp()) {
        return;
    }
    KNFrameStatistics::beginEvent("zoom");
    const float factor = std::clamp(static_cast<float>(deltaY * 0.01 + 1.0),
                                    1.0f / maximumScrollFactor, maximumScrollFactor);
    kinora::Transform& transform = picture->scene->transform;
    transform.scaleBy(factor);
    transform.scale =
        kinora::Vector3(clampedScale(transform.scale.x), clampedScale(transform.scale.y),
                        clampedScale(transform.scale.z));
    requestRedraw();
}

void KNOpenGLView::renderableWasSelected(kinora::Renderable*) {}

void KNOpenGLView::renderableWasDeselected(kinora::Renderable*) {}

void KNOpenGLView::renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from,
                                                     QPointF to) {
    // The eye-space offset of the two cursor positions at r's depth, turned back into scene
    // coordinates, so the point of r under the cursor stays under it.
    const kinora::Matrix4 c =
        picture->scene->camera.viewMatrix() * picture->scene->transform.modelMatrix();
    kinora::Matrix3 n(c);
    n.transpose();
    const kinora::Vector3 right = n * kinora::xAxis;
    const kinora::Vector3 up = n * kinora::yAxis;

    const double w = static_cast<double>(frameWidth());
    const double h = static_cast<double>(frameHeight());
    const float aspect = static_cast<float>(w / h);

    const kinora::Vector3 anchor = r->transform.position + r->transform.pivot;
    const double halfHeight = picture->scene->camera.halfHeightAt(-(c * anchor).z);
    const auto eyeX = [&](QPointF q) {
        return static_cast<float>(((2.0 * q.x() / w - 1.0) * -halfHeight) * aspect);
    };
    const auto eyeY = [&](QPointF q) {
        return static_cast<float>((2.0 * q.y() / h - 1.0) * -halfHeight);
    };
    const float dX = eyeX(to) - eyeX(from);
    const float dY = eyeY(to) - eyeY(from);

    const double sx = picture->scene->transform.scale.x;
    const float k = static_cast<float>(1.0 / (sx * sx));
    r->transform.position += right * static_cast<double>(-dX * k);
    r->transform.position += up * static_cast<double>(-dY * k);
}

bool KNOpenGLView::isSelectable(kinora::Renderable* r) const {
    return picture->pickShader && r->shader == picture->pickShader.get();
}

void KNOpenGLView::ensureContext() {
    KNSharedContext::makeCurrentAnywhere();
}

void KNOpenGLView::attachContextForTeardown() {
    if (KNSharedContext::exists()) {
        KNSharedContext::makeCurrentOffscreen();
    }
}

int KNOpenGLView::frameWidth() const {
    return std::max(1, width());
}

int KNOpenGLView::frameHeight() const {
    return std::max(1, height());
}

int KNOpenGLView::pixelWidth() const {
    return std::max(1, static_cast<int>(width() * devicePixelRatio()));
}

int KNOpenGLView::pixelHeight() const {
    return std::max(1, static_cast<int>(height() * devicePixelRatio()));
}

void KNOpenGLView::exposeEvent(QExposeEvent*) {
    // An X window keeps no picture of its own: whatever was shown must be drawn again.
    if (isExposed()) {
        scheduleRedraw();
    }
}

void KNOpenGLView::resizeEvent(QResizeEvent*) {
    update();
}

QPointF KNOpenGLView::locationInView(const QMouseEvent& event) const {
    return QPointF(event.position().x(), height() - event.position().y());
}

void KNOpenGLView::mousePressEvent(QMouseEvent* event) {
    // A pan neither picks nor changes the selection.
    if (event->button() == Qt::MiddleButton ||
        (event->button() == Qt::LeftButton && (event->modifiers() & Qt::ShiftModifier))) {
        panning = true;
        previousPointInView = locationInView(*event);
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    primaryButtonDown = true;
    mouseDown(locationInView(*event));
}

void KNOpenGLView::mouseMoveEvent(QMouseEvent* event) {
    const bool dragging = primaryButtonDown && (event->buttons() & Qt::LeftButton);
    if (!panning && !dragging) {
        if (event->buttons() == Qt::NoButton) {
            hoverLater(locationInView(*event));
        }
        return;
    }
    mouseDragged(locationInView(*event));
}

void KNOpenGLView::mouseReleaseEvent(QMouseEvent* event) {
    if (panning) {
        panning = false;
        return;
    }
    if (event->button() != Qt::LeftButton) {
        return;
    }
    primaryButtonDown = false;
    mouseUp(locationInView(*event));
}

void KNOpenGLView::wheelEvent(QWheelEvent* event) {
    scrollWheel(scrollDelta(*event));
}

double KNOpenGLView::scrollDelta(const QWheelEvent& event) {
    if (!event.pixelDelta().isNull()) {
        return event.pixelDelta().y() / touchpadPixelsPerDelta;
    }
    return static_cast<double>(event.angleDelta().y()) * scrollDeltaPerNotch / 120.0;
}
