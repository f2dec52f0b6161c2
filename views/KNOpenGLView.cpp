#include "KNOpenGLView.h"

#include "Framebuffer.h"
#include "KNDefinitions.h"
#include "KNSharedContext.h"
#include "Matrix3.h"
#include "Mesh.h"
#include "Renderable.h"
#include "Scene.h"
#include "Shader.h"
#include "Texture2D.h"
#include "Vector4.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdio>
#include <epoxy/gl.h>
#include <exception>
#include <iostream>

namespace {
constexpr int initialImageSize = 480;
// One notch of a mouse wheel (120 eighths of a degree) scales the scene by 10 %: at the desktop's
// lines per notch (often 3, that is 3 %) a Lorenz attractor took some eighty notches to fit.
constexpr double scrollDeltaPerNotch = 10.0;
// Touchpads report pixels, many per gesture; this many count as one unit of scroll delta.
constexpr double touchpadPixelsPerDelta = 10.0;
// One wheel event never scales by more than this factor (or its inverse).
constexpr float maximumScrollFactor = 2.0f;

std::unique_ptr<Texture2D> makeImage(int width, int height) {
    auto texture =
        std::make_unique<Texture2D>(GL_RGBA, GL_RGBA, GL_UNSIGNED_INT_8_8_8_8, width, height);
    texture->setFilter(GL_LINEAR);
    texture->setBorderColor(kinora::Vector4(1.0, 1.0, 0.0, 1.0));
    texture->setData(nullptr);
    return texture;
}

double clampedScale(double scale) {
    return std::clamp(scale, KNOpenGLView::minimumSceneScale, KNOpenGLView::maximumSceneScale);
}
} // namespace

KNOpenGLView::KNOpenGLView(QWindow* parent) : QWindow(parent) {
    setSurfaceType(QSurface::OpenGLSurface);
    setFormat(KNSharedContext::format());
}

KNOpenGLView::~KNOpenGLView() {
    attachContextForTeardown();
}

QOpenGLContext* KNOpenGLView::sharedContext() {
    return KNSharedContext::context();
}

std::string KNOpenGLView::resourcePath(const std::string& baseName, const std::string& type) {
    const QString prefix = QStringLiteral("shaders/");
    QString name = QString::fromStdString(baseName);
    if (name.startsWith(prefix)) {
        name.remove(0, prefix.size());
    }
    const QString fileName = name + QLatin1Char('.') + QString::fromStdString(type);

    const QByteArray overrideDirectory = qgetenv("KINORA_SHADER_DIR");
    if (!overrideDirectory.isEmpty()) {
        return QDir(QString::fromLocal8Bit(overrideDirectory)).filePath(fileName).toStdString();
    }
    const QString relative = QStringLiteral("share/kinora/shaders/") + fileName;
    QDir directory(QCoreApplication::applicationDirPath());
    const QString expected = QDir(directory.filePath(QStringLiteral(".."))).filePath(relative);
    while (directory.cdUp()) {
        const QString candidate = directory.filePath(relative);
        if (QFileInfo::exists(candidate)) {
            return QDir::cleanPath(candidate).toStdString();
        }
    }
    return QDir::cleanPath(expected).toStdString();
}

void KNOpenGLView::awakeFromNib() {
    assert(!scene && "awakeFromNib runs once per view");
    sharedContext();
    attachContext();
    std::fprintf(stderr, "Using Context: %s\n",
                 reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    glEnable(GL_DEPTH_TEST);

    pathShader = std::make_unique<kinora::Shader>();
    pickShader = std::make_unique<kinora::Shader>();
    displayShader = std::make_unique<kinora::Shader>();
    flatColorShader = std::make_unique<kinora::Shader>();
    colorRampShader = std::make_unique<kinora::Shader>();
    loadShaders();

    buildOffscreenImages(initialImageSize, initialImageSize);
    buildAxes();

    scene = std::make_unique<kinora::Scene>(framebuffer.get());
    scene->camera.setFrustum(-1.0f, 1.0f, -1.0f, 1.0f, 2.0f, 60.0f);
    scene->camera.transform.position = kinora::Vector3(0.0, 0.0, 10.0);
    scene->addRenderable(axes.get());
    selected = nullptr;
}

void KNOpenGLView::loadShaders() {
    const struct {
        kinora::Shader* program;
        const char* vertex;
        const char* fragment;
    } programs[] = {
        {pathShader.get(), "shaders/basic", "shaders/path"},
        {pickShader.get(), "shaders/basic", "shaders/white_pick"},
        {displayShader.get(), "shaders/display", "shaders/display"},
        {flatColorShader.get(), "shaders/basic", "shaders/color_flat"},
        {colorRampShader.get(), "shaders/basic", "shaders/color_ramp"},
    };
    // The first failure ends the loading: the view still draws, and what the unlinked programs
    // would draw stays invisible.
    try {
        for (const auto& entry : programs) {
            entry.program->load(resourcePath(entry.vertex, "vsh"),
                                resourcePath(entry.fragment, "fsh"));
        }
    } catch (const std::exception& error) {
        std::cout << error.what() << std::endl;
    }
}

void KNOpenGLView::buildOffscreenImages(int width, int height) {
    auto picture = makeImage(width, height);
    auto ids = makeImage(width, height);
    auto target = std::make_unique<kinora::Framebuffer>(static_cast<float>(width),
                                                        static_cast<float>(height));
    target->attachTexture(picture.get(), GL_COLOR_ATTACHMENT0);
    target->attachTexture(ids.get(), GL_COLOR_ATTACHMENT1);
    target->attachRenderbuffer(GL_DEPTH_COMPONENT, GL_DEPTH_ATTACHMENT);
    const GLenum drawBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, drawBuffers);
    target->clearColor = kinora::Vector4(0.0, 0.0, 0.0, 0.0);
    target->clear(GL_COLOR_BUFFER_BIT);

    if (scene) {
        scene->framebuffer = target.get();
    }
    framebuffer = std::move(target);
    displayTexture = std::move(picture);
    pickTexture = std::move(ids);
}

void KNOpenGLView::buildAxes() {
    // Position, then the colour that the programs read as "vVelocity".
    const float vertices[36] = {
        -10.0f, 0.0f,   0.0f,   1.0f, 0.0f, 0.0f, //
        10.0f,  0.0f,   0.0f,   1.0f, 0.0f, 0.0f, //
        0.0f,   -10.0f, 0.0f,   0.0f, 1.0f, 0.0f, //
        0.0f,   10.0f,  0.0f,   0.0f, 1.0f, 0.0f, //
        0.0f,   0.0f,   -10.0f, 0.0f, 0.0f, 1.0f, //
        0.0f,   0.0f,   10.0f,  0.0f, 0.0f, 1.0f, //
    };
    const unsigned indices[6] = {0, 1, 2, 3, 4, 5};
    axesMesh = std::make_unique<kinora::Mesh>(vertices, indices, 12, 6, 3);
    axes = std::make_unique<kinora::Renderable>(axesMesh.get(), flatColorShader.get(), GL_LINES);
    axes->setupAttributes = setupVertexAttributes;
    axes->prepareDraw = prepareLineDraw;
    axes->createVertexArray();
}

void KNOpenGLView::update() {
    if (!scene) {
        return;
    }
    attachContext();
    buildOffscreenImages(pixelWidth(), pixelHeight());
    const float aspect =
        static_cast<float>(static_cast<double>(frameWidth()) / static_cast<double>(frameHeight()));
    scene->camera.setFrustum(-aspect, aspect, -1.0f, 1.0f, 2.0f, 60.0f);
    redraw();
}

void KNOpenGLView::redraw() {
    if (!scene) {
        return;
    }
    attachContext();
    scene->draw();
    // An unexposed window has no drawable to present to; the off-screen images (and so the
    // pick image) are up to date regardless.
    if (!isExposed()) {
        return;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, pixelWidth(), pixelHeight());
    displayShader->use();
    displayShader->setUniform1f("aspectRatio", 1.0f);
    displayTexture->drawFullScreen(displayShader.get());
    KNSharedContext::swapBuffers(this);
}

void KNOpenGLView::setZoom(float zoom) {
    if (!scene) {
        return;
    }
    const double scale = clampedScale(static_cast<double>(zoom));
    scene->transform.scale = kinora::Vector3(scale, scale, scale);
}

KNViewCamera KNOpenGLView::viewCamera() const {
    KNViewCamera camera;
    camera.width = frameWidth();
    camera.height = frameHeight();
    if (scene) {
        camera.sceneTransform = scene->transform;
        camera.eye = scene->camera.transform;
        camera.zoom = scene->camera.zoom;
    }
    return camera;
}

void KNOpenGLView::setViewCamera(const KNViewCamera& camera) {
    if (!scene) {
        return;
    }
    scene->transform = camera.sceneTransform;
    scene->camera.transform = camera.eye;
    scene->camera.zoom = camera.zoom;
}

QImage KNOpenGLView::renderPicture(int width, int height) {
    if (!scene || width < 1 || height < 1) {
        return {};
    }
    attachContext();
    GLint maxTexture = 0;
    GLint maxRenderbuffer = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
    if (width > std::min(maxTexture, maxRenderbuffer) ||
        height > std::min(maxTexture, maxRenderbuffer)) {
        return {};
    }

    // Drawn into images of its own; the view's images, and so its pick image, stay as they are.
    std::unique_ptr<Texture2D> shownPicture = std::move(displayTexture);
    std::unique_ptr<Texture2D> shownPickImage = std::move(pickTexture);
    std::unique_ptr<kinora::Framebuffer> shownFramebuffer = std::move(framebuffer);
    const kinora::Camera shownCamera = scene->camera;
    buildOffscreenImages(width, height);
    const float aspect =
        static_cast<float>(static_cast<double>(width) / static_cast<double>(height));
    scene->camera.setFrustum(-aspect, aspect, -1.0f, 1.0f, 2.0f, 60.0f);
    scene->draw();

    QImage picture(width, height, QImage::Format_RGBX8888);
    framebuffer->bind();
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // GL rows run bottom to top.
    for (int row = 0; row < height; ++row) {
        uchar* line = picture.scanLine(row);
        glReadPixels(0, height - 1 - row, width, 1, GL_RGBA, GL_UNSIGNED_BYTE, line);
        // The window shows the picture's colour opaque, whatever its alpha.
        for (int x = 0; x < width; ++x) {
            line[4 * x + 3] = 0xff;
        }
    }
    glReadBuffer(GL_NONE);
    framebuffer->unbind();

    scene->camera = shownCamera;
    displayTexture = std::move(shownPicture);
    pickTexture = std::move(shownPickImage);
    framebuffer = std::move(shownFramebuffer);
    scene->framebuffer = framebuffer.get();
    return picture;
}

void KNOpenGLView::mouseDown(QPointF locationInView) {
    if (!scene) {
        return;
    }
    attachContext();
    previousPointInView = locationInView;
    const double ratio = devicePixelRatio();
    const int x = std::clamp(static_cast<int>(locationInView.x() * ratio), 0, pixelWidth() - 1);
    const int y = std::clamp(static_cast<int>(locationInView.y() * ratio), 0, pixelHeight() - 1);
    kinora::Renderable* picked = scene->renderableAt(x, y);
    if (picked != nullptr && !isSelectable(picked)) {
        picked = nullptr;
    }
    renderableWasDeselected(selected);
    selected = picked;
    if (picked != nullptr) {
        renderableWasSelected(picked);
    }
}

void KNOpenGLView::mouseDragged(QPointF locationInView) {
    if (!scene) {
        return;
    }
    attachContext();
    const QPointF c = locationInView;
    const QPointF p = previousPointInView;
    if (selected != nullptr) {
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
        scene->transform.rotate(angle, axis);
    }
    previousPointInView = c;
    redraw();
}

void KNOpenGLView::mouseUp(QPointF) {}

void KNOpenGLView::scrollWheel(double deltaY) {
    if (!scene) {
        return;
    }
    const float factor = std::clamp(static_cast<float>(deltaY * 0.01 + 1.0),
                                    1.0f / maximumScrollFactor, maximumScrollFactor);
    kinora::Transform& transform = scene->transform;
    transform.scaleBy(factor);
    transform.scale =
        kinora::Vector3(clampedScale(transform.scale.x), clampedScale(transform.scale.y),
                        clampedScale(transform.scale.z));
    redraw();
}

void KNOpenGLView::renderableWasSelected(kinora::Renderable*) {}

void KNOpenGLView::renderableWasDeselected(kinora::Renderable*) {}

void KNOpenGLView::renderableDraggedFromPointToPoint(kinora::Renderable* r, QPointF from,
                                                     QPointF to) {
    // The eye-space offset of the two cursor positions at r's depth, turned back into scene
    // coordinates, so the point of r under the cursor stays under it.
    const kinora::Matrix4 c = scene->camera.viewMatrix() * scene->transform.modelMatrix();
    kinora::Matrix3 n(c);
    n.transpose();
    const kinora::Vector3 right = n * kinora::xAxis;
    const kinora::Vector3 up = n * kinora::yAxis;

    const double w = static_cast<double>(frameWidth());
    const double h = static_cast<double>(frameHeight());
    const float aspect = static_cast<float>(w / h);

    const kinora::Vector3 anchor = r->transform.position + r->transform.pivot;
    const float z = static_cast<float>((c * anchor).z);
    const auto eyeX = [&](QPointF q) {
        return static_cast<float>(((2.0 * q.x() / w - 1.0) * z * 0.5) * aspect);
    };
    const auto eyeY = [&](QPointF q) {
        return static_cast<float>((2.0 * q.y() / h - 1.0) * z * 0.5);
    };
    const float dX = eyeX(to) - eyeX(from);
    const float dY = eyeY(to) - eyeY(from);

    const double sx = scene->transform.scale.x;
    const float k = static_cast<float>(1.0 / (sx * sx));
    r->transform.position += right * static_cast<double>(-dX * k);
    r->transform.position += up * static_cast<double>(-dY * k);
}

bool KNOpenGLView::isSelectable(kinora::Renderable* r) const {
    return pickShader && r->shader == pickShader.get();
}

void KNOpenGLView::attachContext() {
    if (handle() != nullptr && KNSharedContext::makeCurrent(this)) {
        return;
    }
    KNSharedContext::makeCurrentOffscreen();
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
        redraw();
    }
}

void KNOpenGLView::resizeEvent(QResizeEvent*) {
    update();
}

QPointF KNOpenGLView::locationInView(const QMouseEvent& event) const {
    return QPointF(event.position().x(), height() - event.position().y());
}

void KNOpenGLView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    primaryButtonDown = true;
    mouseDown(locationInView(*event));
}

void KNOpenGLView::mouseMoveEvent(QMouseEvent* event) {
    if (!primaryButtonDown || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    mouseDragged(locationInView(*event));
}

void KNOpenGLView::mouseReleaseEvent(QMouseEvent* event) {
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
