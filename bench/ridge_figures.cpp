// The README's pictures of the view modes: a ridge 4 units high in one plain grey, drawn as the
// view draws it (the solid pass in batches between the modes' state) plain, with relief and
// with every mode on. Needs a display (xvfb-run -a will do):
//
//   ridge_figures FOLDER    writes FOLDER/ridge-plain.png, ridge-relief.png, ridge-all-modes.png
#include <GL/gl.h>
#include <GL/glu.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "app/EditorSurfaceFormat.h"
#include "map/MapGrid.h"
#include "tools/Camera.h"
#include "view3d/MapOverlays.h"
#include "view3d/MapPassBatches.h"
#include "view3d/MapScene.h"

using namespace zandrel::view3d;

int main(int argc, char** argv) {
    zandrel::app::UseEditorSurfaceFormat();
    QGuiApplication app(argc, argv);
    if (argc != 2 || !QDir().mkpath(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "usage: ridge_figures FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QOffscreenSurface surface;
    surface.setFormat(QSurfaceFormat::defaultFormat());
    surface.create();
    QOpenGLContext context;
    if (!context.create() || !context.makeCurrent(&surface)) {
        std::fprintf(stderr, "ridge_figures: no OpenGL context\n");
        return 1;
    }
    constexpr int kSize = 256;
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    QOpenGLFramebufferObject framebuffer(kSize, kSize, format);
    framebuffer.bind();

    // Along x; only light, lines and tint tell its pixels apart.
    zandrel::map::MapGrid ridge(11, 12);
    for (int cell = 0; cell < ridge.SizeX * ridge.SizeZ; ++cell) {
        const int z = cell / ridge.SizeX;
        auto& c = ridge.Cell(cell % ridge.SizeX, z);
        c.NE = c.NO = std::clamp(4.0 - std::abs(z - 5), 0.0, 4.0);
        c.SE = c.SO = std::clamp(4.0 - std::abs(z + 1 - 5), 0.0, 4.0);
        c.C = (c.NE + c.SE) / 2.0;
    }
    ridge.ComputeNormals();
    const std::array<GLubyte, 4 * 4 * 3> grey = [] {
        std::array<GLubyte, 4 * 4 * 3> texels{};
        texels.fill(170);
        return texels;
    }();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, grey.data());
    ridge.textureIds[0] = texture;

    // From a corner, as a designer would look at it; on black, as the view shows it.
    const zandrel::tools::Camera camera{-3.0, 15.0, 17.0, 5.5, 0.0, 5.0};
    MapPassBatches pass;
    const std::pair<ViewModes, const char*> figures[] = {
        {{}, "plain"},
        {{true, false, false, TintMode::Off}, "relief"},
        {{true, true, true, TintMode::Height}, "all-modes"}};
    for (const auto& [modes, name] : figures) {
        MapScene::BeginFrame(kSize, kSize);
        MapScene::LoadProjection(camera, kSize, kSize);
        MapOverlays::Begin(modes, camera);
        pass.Draw(ridge, RenderMode::Solid, PassStyle::For(ridge, modes));
        MapOverlays::End(modes);
        glFinish();
        const QString path = folder + "/ridge-" + name + ".png";
        if (!framebuffer.toImage(true).save(path)) {
            std::fprintf(stderr, "ridge_figures: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
