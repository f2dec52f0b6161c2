#pragma once

#include <QSurfaceFormat>
#include <string>

class QOpenGLContext;

// The drawing GL context of the process, current on an offscreen surface. Every view of every
// window draws its pictures with it, off screen, so all of them share one set of GL objects and
// GL state; each view presents with a context of its own in the same share group
// (KNWindowContext). Kept apart from the GL calls because Qt's GL header and the loader's cannot
// meet in one file.
class KNSharedContext {
public:
    // OpenGL 3.2 core, 8-8-8 colour, 16-bit depth, double buffered: the format of the context
    // and of every view's window, which must have it before its native window is created.
    static QSurfaceFormat format();

    // Created on the first call, made current on the offscreen surface at once, never released;
    // null in headless use.
    // A display that cannot provide the format ends the program with a message: nothing in it
    // can draw without one.
    static QOpenGLContext* context();
    // From now on every view draws with a context that needs no display server (off screen
    // only: nothing is presented). Call before any view is set up. False, with the reason, when
    // the machine offers no such context.
    static bool useHeadlessContext(std::string* failureReason);

    // Whether useHeadlessContext has switched the views off screen.
    static bool isHeadless();
    // Whether context() has run; teardown before it has nothing to release.
    static bool exists();

    // Current on the offscreen surface, whatever state any window is in.
    static void makeCurrentOffscreen();
    // Current unless it already is: all that drawing off screen and filling buffers need.
    static void makeCurrentAnywhere();
    // Whether the windows' drawables have an alpha channel.
    static bool windowHasAlpha();
};
