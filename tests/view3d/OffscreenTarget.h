#pragma once

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QSurfaceFormat>
#include <QtTest>
#include <memory>

namespace zandrel::view3d_test {

// A GL context of the editor's format drawing into a square framebuffer of its own, for tests
// that draw passes without a view.
class OffscreenTarget {
public:
    // Makes the context current with the framebuffer bound; QVERIFY fails the calling test
    // otherwise, so call it through QVERIFY-aware code (initTestCase).
    void Open(int size) {
        surface_.setFormat(QSurfaceFormat::defaultFormat());
        surface_.create();
        QVERIFY(context_.create());
        QVERIFY(context_.makeCurrent(&surface_));
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        framebuffer_ = std::make_unique<QOpenGLFramebufferObject>(size, size, format);
        QVERIFY(framebuffer_->bind());
    }

    void Close() {
        framebuffer_.reset();
        context_.doneCurrent();
    }

    // The framebuffer's pixels; flipped false keeps GL's bottom-up row order.
    QImage Image(bool flipped = true) const { return framebuffer_->toImage(flipped); }

private:
    QOffscreenSurface surface_;
    QOpenGLContext context_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
};

}  // namespace zandrel::view3d_test
