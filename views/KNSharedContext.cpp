#include "KNSharedContext.h"

#include "HeadlessContext.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <cstdio>
#include <cstdlib>

namespace {
QOffscreenSurface* offscreenSurface = nullptr;
bool headless = false;

[[noreturn]] void failWithoutContext(const char* reason) {
    std::fprintf(stderr, "Kinora needs an OpenGL 3.2 core profile context: %s.\n", reason);
    std::exit(EXIT_FAILURE);
}

QOpenGLContext* createSharedContext() {
    auto* context = new QOpenGLContext;
    context->setFormat(KNSharedContext::format());
    if (!context->create()) {
        failWithoutContext("the display cannot create one");
    }
    const QSurfaceFormat created = context->format();
    if (created.version() < qMakePair(3, 2) || created.profile() != QSurfaceFormat::CoreProfile) {
        failWithoutContext("the display offers an older or compatibility context only");
    }
    auto* surface = new QOffscreenSurface;
    surface->setFormat(created);
    surface->create();
    if (!context->makeCurrent(surface)) {
        failWithoutContext("the context cannot be made current");
    }
    offscreenSurface = surface;
    return context;
}
} // namespace

QSurfaceFormat KNSharedContext::format() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(3, 2);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(16);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    // Lines wider than a pixel, for pictures drawn at more than one pixel per point; a forward
    // compatible context would refuse them.
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    return format;
}

bool KNSharedContext::useHeadlessContext(std::string* failureReason) {
    headless = kinora::HeadlessContext::makeCurrent(failureReason);
    return headless;
}

bool KNSharedContext::isHeadless() {
    return headless;
}

QOpenGLContext* KNSharedContext::context() {
    if (headless) {
        return nullptr;
    }
    static QOpenGLContext* const context = createSharedContext();
    return context;
}

bool KNSharedContext::exists() {
    return headless || offscreenSurface != nullptr;
}

void KNSharedContext::makeCurrentOffscreen() {
    if (headless) {
        kinora::HeadlessContext::makeCurrent();
        return;
    }
    context()->makeCurrent(offscreenSurface);
}

void KNSharedContext::makeCurrentAnywhere() {
    if (headless) {
        kinora::HeadlessContext::makeCurrent();
        return;
    }
    QOpenGLContext* shared = context();
    if (QOpenGLContext::currentContext() != shared) {
        shared->makeCurrent(offscreenSurface);
    }
}

bool KNSharedContext::windowHasAlpha() {
    return !headless && context()->format().alphaBufferSize() > 0;
}
