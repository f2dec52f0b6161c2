#pragma once

#include <memory>

class QOpenGLContext;
class QWindow;

// The GL context a view presents with: its own, current on its window alone, in the share group
// of the drawing context (KNSharedContext), so it reads the pictures drawn there. Views draw
// with the drawing context, off screen; moving one context from window to window made the
// platform reallocate the window's buffers at every present. Kept apart from the GL calls
// because Qt's GL header and the loader's cannot meet in one file.
class KNWindowContext {
public:
    explicit KNWindowContext(QWindow* window);
    ~KNWindowContext();
    KNWindowContext(const KNWindowContext&) = delete;
    KNWindowContext& operator=(const KNWindowContext&) = delete;

    // Current on the window, the context made on first use; false when it cannot be made or
    // made current, or when drawing is headless (nothing is presented then).
    bool makeCurrent();
    void swapBuffers();
    // The GL name of the window's framebuffer in this context.
    unsigned defaultFramebufferObject() const;
    // Null until the first makeCurrent.
    QOpenGLContext* context() const { return _context.get(); }

private:
    QWindow* window;
    std::unique_ptr<QOpenGLContext> _context;
};
