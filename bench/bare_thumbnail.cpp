// The floor for a thumbnail process (render_floor.sh): the least a program must do to turn a map's
// textures into a picture file. It makes the same EGL surfaceless context and pbuffer as
// zdmtool render, loads and uploads the given image files with their mipmaps as the renderer
// does, draws one textured quad and writes the pixels as a PNG. Nothing is read from a map.
//   bare_thumbnail SIDE OUT.png IMAGE...
#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <IL/il.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "FloorQuad.h"

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "bare_thumbnail: %s\n", what);
    return 1;
}

bool MakeContext(int side) {
    const auto getPlatformDisplay = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (getPlatformDisplay == nullptr) {
        return false;
    }
    const EGLDisplay display =
        getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    EGLint major = 0;
    EGLint minor = 0;
    if (display == EGL_NO_DISPLAY || eglInitialize(display, &major, &minor) != EGL_TRUE ||
        eglBindAPI(EGL_OPENGL_API) != EGL_TRUE) {
        return false;
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
    EGLint count = 0;
    if (eglChooseConfig(display, configAttributes, &config, 1, &count) != EGL_TRUE || count < 1) {
        return false;
    }
    const EGLint surfaceAttributes[] = {EGL_WIDTH, side, EGL_HEIGHT, side, EGL_NONE};
    const EGLSurface surface = eglCreatePbufferSurface(display, config, surfaceAttributes);
    const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 2, EGL_CONTEXT_MINOR_VERSION, 1,
                                        EGL_NONE};
    const EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, contextAttributes);
    return surface != EGL_NO_SURFACE && context != EGL_NO_CONTEXT &&
           eglMakeCurrent(display, surface, surface, context) == EGL_TRUE;
}

GLuint Upload(const char* file) {
    const ILuint image = ilGenImage();
    ilBindImage(image);
    GLuint name = 0;
    if (ilLoadImage(file) == IL_TRUE && ilConvertImage(IL_RGBA, IL_UNSIGNED_BYTE) == IL_TRUE) {
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, ilGetInteger(IL_IMAGE_WIDTH),
                          ilGetInteger(IL_IMAGE_HEIGHT), GL_RGBA, GL_UNSIGNED_BYTE, ilGetData());
    }
    ilDeleteImage(image);
    return name;
}

bool WritePng(const char* path, int side, const std::vector<unsigned char>& rgba) {
    FILE* const file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    bool written = false;
    if (png != nullptr && info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, side, side, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        // glReadPixels gives the bottom row first.
        for (int y = side - 1; y >= 0; --y) {
            png_write_row(png, rgba.data() + static_cast<std::size_t>(y) * side * 4);
        }
        png_write_end(png, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        return Fail("usage: bare_thumbnail SIDE OUT.png IMAGE...");
    }
    const int side = std::atoi(argv[1]);
    if (side < 1 || side > 4096 || !MakeContext(side)) {
        return Fail("no off-screen context");
    }
    ilInit();
    std::vector<GLuint> textures;
    for (int k = 3; k < argc; ++k) {
        textures.push_back(Upload(argv[k]));
    }
    glViewport(0, 0, side, side);
    zandrel::bench::DrawTexturedQuad(textures.front(), 0.9F);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(side) * side * 4);
    glReadPixels(0, 0, side, side, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return WritePng(argv[2], side, rgba) ? 0 : Fail("cannot write the picture");
}
