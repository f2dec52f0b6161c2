#pragma once

#include <string>

namespace kinora {

// An OpenGL 3.2 core context that needs no display server: Mesa's surfaceless EGL platform with
// a 1 x 1 pbuffer standing in for a window. For drawing off screen only. Created once, lives
// until the process ends.
class HeadlessContext {
public:
    // Creates the context on the first call and makes it current. False, with the reason, when
    // the machine offers no such context.
    static bool makeCurrent(std::string* failureReason = nullptr);
};

} // namespace kinora
