#pragma once

#include <string>

namespace kinora::test {

// One OpenGL core context (3.2 or later) for the whole test process, created without any
// display server on Mesa's surfaceless EGL platform. Like the application's shared context it
// lives until the process ends, so process-wide GL objects stay valid from one test to the next.
// Its default framebuffer, standing in for a window, is a small off-screen pbuffer with 8-bit
// colour and a depth buffer.
class HeadlessGLContext {
public:
    static constexpr int windowWidth = 64;
    static constexpr int windowHeight = 48;

    // Creates the context on the first call and makes it current. False, with the reason in
    // failureReason, when the machine offers no such context.
    static bool makeCurrent(std::string& failureReason);
};

} // namespace kinora::test
