#pragma once

#include <GL/gl.h>
#include <GL/glu.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QtTest>
#include <array>
#include <functional>
#include <memory>

namespace zandrel::view3d_test {

// Eye, then target.
using Camera = std::array<double, 6>;

// A GL context of the editor's format drawing into a square framebuffer of its own, for tests
// that draw passes without a view.
class OffscreenTarget {
public:
    explicit OffscreenTarget(int size) : size_(size) {}

    // Makes the context current with the framebuffer bound; QVERIFY fails the calling test
    // otherwise, so call it from initTestCase.
    void Open() {
        surface_.setFormat(QSurfaceFormat::defaultFormat());
        surface_.create();
        QVERIFY(context_.create());
        QVERIFY(context_.makeCurrent(&surface_));
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        framebuffer_ = std::make_unique<QOpenGLFramebufferObject>(size_, size_, format);
        QVERIFY(framebuffer_->bind());
    }

    void Close() {
        framebuffer_.reset();
        context_.doneCurrent();
    }

    // A frame drawn as the view sets it up: depth test, colour material modulating the texture,
    // a 55 degree perspective from the camera. Rows top first.
    QImage Draw(const std::function<void()>& pass, const Camera& camera) {
        glViewport(0, 0, size_, size_);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(55.0, 1.0, 0.5, 150.0);
        gluLookAt(camera[0], camera[1], camera[2], camera[3], camera[4], camera[5], 0.0, 1.0, 0.0);
        glGetDoublev(GL_PROJECTION_MATRIX, projection_.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        pass();
        glFinish();
        return framebuffer_->toImage(true);
    }

    // Where a map point landed in the last frame's image.
    QPoint Project(double x, double y, double z) const {
        const std::array<double, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const std::array<GLint, 4> viewport = {0, 0, size_, size_};
        std::array<double, 3> window{};
        gluProject(x, y, z, identity.data(), projection_.data(), viewport.data(), &window[0],
                   &window[1], &window[2]);
        return {static_cast<int>(window[0]), size_ - 1 - static_cast<int>(window[1])};
    }

    // A 4 x 4 texture of one colour; corner sets its first texel, so that orientation shows.
    static GLuint Texture(GLubyte r, GLubyte g, GLubyte b, GLubyte corner) {
        std::array<GLubyte, 4 * 4 * 3> texels{};
        for (std::size_t i = 0; i < texels.size(); ++i) {
            texels[i] = i == 0 ? corner : std::array{r, g, b}[i % 3];
        }
        GLuint name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        return name;
    }

private:
    int size_;
    QOffscreenSurface surface_;
    QOpenGLContext context_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
    std::array<double, 16> projection_{};
};

}  // namespace zandrel::view3d_test
