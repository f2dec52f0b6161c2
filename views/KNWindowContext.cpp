#include "KNWindowContext.h"

#include "KNSharedContext.h"

#include <QOpenGLContext>
#include <QWindow>

KNWindowContext::KNWindowContext(QWindow* window) : window(window) {}

KNWindowContext::~KNWindowContext() = default;

bool KNWindowContext::makeCurrent() {
    QOpenGLContext* drawing = KNSharedContext::context();
    if (drawing == nullptr) {
        return false;
    }
    if (!_context) {
        auto made = std::make_unique<QOpenGLContext>();
        made->setFormat(drawing->format());
        made->setShareContext(drawing);
        if (!made->create() || !QOpenGLContext::areSharing(made.get(), drawing)) {
            return false;
        }
        _context = std::move(made);
    }
    // Consecutive presents skip the platform call when nothing would change. Qt releases the
    // context when the window's native surface goes, so one still current on it is current on
    // its live drawable.
    if (QOpenGLContext::currentContext() == _context.get() && _context->surface() == window) {
        return true;
    }
    return _context->makeCurrent(window);
}

void KNWindowContext::swapBuffers() {
    _context->swapBuffers(window);
}

unsigned KNWindowContext::defaultFramebufferObject() const {
    return _context->defaultFramebufferObject();
}
