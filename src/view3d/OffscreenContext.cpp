#include "view3d/OffscreenContext.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>

#include <cstring>
#include <string>

namespace zandrel::view3d {

namespace {

// The platform must be asked for by name: the default EGL display would look for X or
// Wayland first, and the device platform needs a readable DRI node.
EGLDisplay SurfacelessDisplay() {
    const char* const extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (extensions == nullptr ||
        std::strstr(extensions, "EGL_MESA_platform_surfaceless") == nullptr) {
        return EGL_NO_DISPLAY;
    }
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return EGL_NO_DISPLAY;
    }
    return getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
}

std::string EglProblem(const char* what) {
    return std::string(what) + " (EGL error 0x" + [] {
        static constexpr char kDigits[] = "0123456789abcdef";
        std::string hex;
        for (EGLint code = eglGetError(); hex.empty() || code != 0; code /= 16) {
            hex.insert(hex.begin(), kDigits[code % 16]);
        }
        return hex;
    }() + ")";
}

}  // namespace

Status OffscreenContext::Create(std::int32_t width, std::int32_t height,
                                std::unique_ptr<OffscreenContext>& context) {
    if (width <= 0 || height <= 0) {
        return Status::Failure("the picture has no pixels");
    }
    std::unique_ptr<OffscreenContext> made(new OffscreenContext());
    made->width_ = width;
    made->height_ = height;

    const EGLDisplay display = SurfacelessDisplay();
    if (display == EGL_NO_DISPLAY) {
        return Status::Failure("no OpenGL: Mesa's surfaceless EGL platform is not available");
    }
    EGLint major = 0;
    EGLint minor = 0;
    if (eglInitialize(display, &major, &minor) != EGL_TRUE) {
        return Status::Failure(EglProblem("no OpenGL: EGL cannot be initialised"));
    }
    made->display_ = display;
    if (eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        return Status::Failure(EglProblem("no OpenGL: desktop OpenGL is not offered"));
    }
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
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
                                       24,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &configCount) != EGL_TRUE ||
        configCount < 1) {
        return Status::Failure(EglProblem("no OpenGL: no off-screen RGBA configuration"));
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, width, EGL_HEIGHT, height, EGL_NONE};
    made->surface_ = eglCreatePbufferSurface(display, config, surfaceAttributes);
    if (made->surface_ == EGL_NO_SURFACE) {
        made->surface_ = nullptr;
        return Status::Failure(EglProblem("no OpenGL: cannot make a picture of that size"));
    }
    // The same kind of context the editor's view asks for: 2.1 with the fixed pipeline.
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1,
                                        EGL_NONE};
    made->context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    if (made->context_ == EGL_NO_CONTEXT) {
        made->context_ = nullptr;
        return Status::Failure(EglProblem("no OpenGL: cannot create a context"));
    }
    if (eglMakeCurrent(display, made->surface_, made->surface_, made->context_) != EGL_TRUE) {
        return Status::Failure(EglProblem("no OpenGL: cannot make the context current"));
    }
    context = std::move(made);
    return Status::Ok();
}

OffscreenContext::~OffscreenContext() {
    if (display_ == nullptr) {
        return;
    }
    eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context_ != nullptr) {
        eglDestroyContext(display_, context_);
    }
    if (surface_ != nullptr) {
        eglDestroySurface(display_, surface_);
    }
    eglTerminate(display_);
}

std::vector<unsigned char> OffscreenContext::ReadRgb() const {
    const auto width = static_cast<std::size_t>(width_);
    const auto height = static_cast<std::size_t>(height_);
    std::vector<unsigned char> upward(width * height * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    // RGBA is the pbuffer's own layout, which Mesa copies as it is; asking for RGB sends every
    // pixel through its generic conversion, which costs more than drawing the map.
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, upward.data());
    // GL counts rows from the bottom, pictures from the top.
    std::vector<unsigned char> rows(width * height * 3);
    for (std::size_t y = 0; y < height; ++y) {
        const unsigned char* from = upward.data() + (height - 1 - y) * width * 4;
        unsigned char* to = rows.data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    return rows;
}

}  // namespace zandrel::view3d
