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

#include "tools/Camera.h"
#include "view3d/MapScene.h"

namespace zandrel::view3d_test {

// Eye, then target; up is +y.
using Camera = tools::Camera;

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

    // A frame drawn as the view draws one, from the camera. Rows top first.
    QImage Draw(const std::function<void()>& pass, const Camera& camera) {
        view3d::MapScene::BeginFrame(size_, size_);
        view3d::MapScene::LoadProjection(camera, size_, size_);
        glGetDoublev(GL_PROJECTION_MATRIX, projection_.data());
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
