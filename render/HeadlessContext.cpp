#include "HeadlessContext.h"

#include <cstdio>
#include <epoxy/egl.h>
#include <vector>

namespace kinora {

namespace {

struct ContextState {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    std::string failureReason;
};

std::string eglFailure(const std::string& step) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
    return step + " failed (EGL error " + code + ")";
}

EGLint configAttribute(EGLDisplay display, EGLConfig config, EGLint attribute) {
    EGLint value = 0;
    eglGetConfigAttrib(display, config, attribute, &value);
    return value;
}

// Exactly 8 bits per colour channel, like the windows' format, so pictures match theirs.
EGLConfig chooseConfig(EGLDisplay display) {
    const EGLint wanted[] = {EGL_SURFACE_TYPE,
                             EGL_PBUFFER_BIT,
                             EGL_RENDERABLE_TYPE,
                             EGL_OPENGL_BIT,
                             EGL_RED_SIZE,
                             8,
                             EGL_GREEN_SIZE,
                             8,
                             EGL_BLUE_SIZE,
                             8,
                             EGL_DEPTH_SIZE,
                             16,
                             EGL_NONE};
    EGLint count = 0;
    if (!eglChooseConfig(display, wanted, nullptr, 0, &count) || count < 1) {
        return nullptr;
    }
    std::vector<EGLConfig> configs(static_cast<std::size_t>(count));
    eglChooseConfig(display, wanted, configs.data(), count, &count);
    for (EGLConfig config : configs) {
        if (configAttribute(display, config, EGL_RED_SIZE) == 8 &&
            configAttribute(display, config, EGL_GREEN_SIZE) == 8 &&
            configAttribute(display, config, EGL_BLUE_SIZE) == 8) {
            return config;
        }
    }
    return nullptr;
}

ContextState createContext() {
    ContextState state;
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless")) {
        state.failureReason = "EGL offers no surfaceless platform (EGL_MESA_platform_surfaceless)";
        return state;
    }
    state.display =
        eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (state.display == EGL_NO_DISPLAY) {
        state.failureReason = eglFailure("eglGetPlatformDisplayEXT");
        return state;
    }
    if (!eglInitialize(state.display, nullptr, nullptr)) {
        state.failureReason = eglFailure("eglInitialize");
        return state;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        state.failureReason = eglFailure("eglBindAPI(EGL_OPENGL_API)");
        return state;
    }
    EGLConfig config = chooseConfig(state.display);
    if (config == nullptr) {
        state.failureReason = "no EGL config with 8-bit colour, depth and desktop OpenGL";
        return state;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, HeadlessContext::surfaceWidth, EGL_HEIGHT,
                                        HeadlessContext::surfaceHeight, EGL_NONE};
    state.surface = eglCreatePbufferSurface(state.display, config, surfaceAttributes);
    if (state.surface == EGL_NO_SURFACE) {
        state.failureReason = eglFailure("eglCreatePbufferSurface");
        return state;
    }
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION,
                                        3,
                                        EGL_CONTEXT_MINOR_VERSION,
                                        2,
                                        EGL_CONTEXT_OPENGL_PROFILE_MASK,
                                        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT,
                                        EGL_NONE};
    state.context = eglCreateContext(state.display, config, EGL_NO_CONTEXT, contextAttributes);
    if (state.context == EGL_NO_CONTEXT) {
        state.failureReason = eglFailure("eglCreateContext for OpenGL 3.2 core");
    }
    return state;
}

} // namespace

bool HeadlessContext::makeCurrent(std::string* failureReason) {
    static const ContextState state = createContext();
    if (state.context == EGL_NO_CONTEXT) {
        if (failureReason) {
            *failureReason = state.failureReason;
        }
        return false;
    }
    if (!eglMakeCurrent(state.display, state.surface, state.surface, state.context)) {
        if (failureReason) {
            *failureReason = eglFailure("eglMakeCurrent");
        }
        return false;
    }
    return true;
}

void HeadlessContext::release() {
    const EGLDisplay display = eglGetCurrentDisplay();
    if (display != EGL_NO_DISPLAY) {
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
}

} // namespace kinora
