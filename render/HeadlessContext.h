#pragma once

#include <string>

namespace kinora {

// An OpenGL 3.2 core context that needs no display server: Mesa's surfaceless EGL platform with
// a small pbuffer standing in for a window (drawing into it is for tests; the program draws off
// screen). Created once, lives until the process ends, so process-wide GL objects stay valid.
class HeadlessContext {
public:
    static constexpr int surfaceWidth = 64;
    static constexpr int surfaceHeight = 48;

    // Creates the context on the first call and makes it current. False, with the reason, when
    // the machine offers no such context.
    static bool makeCurrent(std::string* failureReason = nullptr);
    // Leaves this thread with no EGL context current, so that a window system's context can
    // become current on it.
    static void release();
};

} // namespace kinora
