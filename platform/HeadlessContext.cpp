// EGL plumbing for the off-screen context; the only place besides the window backend that
// knows EGL.
#include "platform/HeadlessContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

namespace platform {

struct HeadlessContext::Handles {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLSurface surface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
};

HeadlessContext::HeadlessContext() : handles_(std::make_unique<Handles>()) {}

HeadlessContext::~HeadlessContext() {
    destroy();
}

static EGLDisplay openSurfacelessDisplay() {
    auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay != nullptr) {
        EGLDisplay display =
            getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY) {
            return display;
        }
    }
    return eglGetDisplay(EGL_DEFAULT_DISPLAY);
}

bool HeadlessContext::create(int width, int height) {
    destroy();
    Handles& h = *handles_;
    h.display = openSurfacelessDisplay();
    if (h.display == EGL_NO_DISPLAY || !eglInitialize(h.display, nullptr, nullptr)) {
        error_ = "no EGL display";
        h.display = EGL_NO_DISPLAY;
        return false;
    }
    const EGLint configAttribs[] = {EGL_SURFACE_TYPE,
                                    EGL_PBUFFER_BIT,
                                    EGL_RENDERABLE_TYPE,
                                    EGL_OPENGL_BIT,
                                    EGL_RED_SIZE,
                                    8,
                                    EGL_GREEN_SIZE,
                                    8,
                                    EGL_BLUE_SIZE,
                                    8,
                                    EGL_ALPHA_SIZE,
                                    8,
                                    EGL_DEPTH_SIZE,
                                    16,
                                    EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(h.display, configAttribs, &config, 1, &count) || count < 1) {
        error_ = "no EGL config with RGBA, 16-bit depth and pbuffer";
        destroy();
        return false;
    }
    const EGLint surfaceAttribs[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    h.surface = eglCreatePbufferSurface(h.display, config, surfaceAttribs);
    if (h.surface == EGL_NO_SURFACE) {
        error_ = "cannot create EGL pbuffer";
        destroy();
        return false;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        error_ = "desktop GL API not available";
        destroy();
        return false;
    }
    h.context = eglCreateContext(h.display, config, EGL_NO_CONTEXT, nullptr);
    if (h.context == EGL_NO_CONTEXT) {
        error_ = "cannot create EGL context";
        destroy();
        return false;
    }
    width_ = width;
    height_ = height;
    if (!makeCurrent()) {
        error_ = "cannot make the EGL context current";
        destroy();
        return false;
    }
    return true;
}

bool HeadlessContext::makeCurrent() {
    const Handles& h = *handles_;
    return h.context != EGL_NO_CONTEXT &&
           eglMakeCurrent(h.display, h.surface, h.surface, h.context) == EGL_TRUE;
}

void HeadlessContext::swapBuffers() {
    const Handles& h = *handles_;
    if (h.surface != EGL_NO_SURFACE) {
        eglSwapBuffers(h.display, h.surface);
    }
}

bool HeadlessContext::isValid() const {
    return handles_->context != EGL_NO_CONTEXT;
}

void HeadlessContext::destroy() {
    Handles& h = *handles_;
    if (h.display == EGL_NO_DISPLAY) {
        return;
    }
    eglMakeCurrent(h.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (h.context != EGL_NO_CONTEXT) {
        eglDestroyContext(h.display, h.context);
    }
    if (h.surface != EGL_NO_SURFACE) {
        eglDestroySurface(h.display, h.surface);
    }
    // The display stays initialised: EGL gives every context in the process the same display,
    // and terminating it would end the others' contexts with this one.
    h = Handles{};
}

} // namespace platform
