#include "view3d/ViewSurface.h"

#include <GL/gl.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QExposeEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QOpenGLFramebufferObject>
#include <QWheelEvent>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace zandrel::view3d {

ViewSurface::ViewSurface(QWidget* inputTarget, Painter painter)
    : inputTarget_(inputTarget), painter_(std::move(painter)) {
    setSurfaceType(QSurface::OpenGLSurface);
}

// The context goes first, current on nothing: the owner released its own GL objects already.
ViewSurface::~ViewSurface() {
    if (context_ != nullptr && QOpenGLContext::currentContext() == context_.get()) {
        context_->doneCurrent();
    }
    context_.reset();
}

bool ViewSurface::CreateContext() {
    if (failure_ != nullptr) {
        return false;
    }
    context_ = std::make_unique<QOpenGLContext>();
    context_->setFormat(requestedFormat());
    context_->setShareContext(QOpenGLContext::globalShareContext());
    if (!context_->create() || !context_->isValid()) {
        failure_ = "OpenGL contest fail";
        context_.reset();
        return false;
    }
    const QSurfaceFormat format = context_->format();
    // Immediate mode and GL_SELECT need desktop GL without the core profile.
    if (context_->isOpenGLES() ||
        (format.profile() == QSurfaceFormat::CoreProfile && format.majorVersion() >= 3 &&
         !format.testOption(QSurfaceFormat::DeprecatedFunctions))) {
        failure_ = "ChoosePixelFormat failed";
        context_.reset();
        return false;
    }
    return true;
}

QSurface* ViewSurface::Target() {
    if (handle() != nullptr && isExposed()) {
        return this;
    }
    // Made on first need: a view on screen never needs it, and each costs the display a
    // surface of its own.
    if (offscreen_ == nullptr) {
        offscreen_ = std::make_unique<QOffscreenSurface>(screen());
        offscreen_->setFormat(context_->format());
        offscreen_->create();
    }
    return offscreen_.get();
}

bool ViewSurface::MakeCurrent() {
    const bool fresh = context_ == nullptr;
    if (fresh && !CreateContext()) {
        return false;
    }
    if (!context_->makeCurrent(Target())) {
        failure_ = "GlMakeCurrent Error";
        return false;
    }
    if (fresh && painter_.initialize) {
        painter_.initialize();
    }
    return true;
}

void ViewSurface::Render() {
    if (!MakeCurrent()) {
        return;
    }
    painter_.paint();
    if (isExposed() && QOpenGLContext::currentContext() == context_.get() &&
        context_->surface() == this) {
        context_->swapBuffers(this);
        if (!frameShown_) {
            frameShown_ = true;
            // Start-up measurements time the editor to its first frame on screen; leaving at
            // once keeps the shutdown of the whole editor out of that figure.
            if (qEnvironmentVariableIsSet("ZANDREL_QUIT_AFTER_FIRST_FRAME")) {
                glFinish();
                std::fflush(nullptr);
                std::_Exit(0);
            }
        }
    }
}

QImage ViewSurface::Grab(const QSize& size) {
    if (size.isEmpty() || !MakeCurrent()) {
        return {};
    }
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::Depth);
    QOpenGLFramebufferObject framebuffer(size, format);
    if (!framebuffer.isValid() || !framebuffer.bind()) {
        return {};
    }
    painter_.paint();
    QImage image = framebuffer.toImage();
    framebuffer.release();
    return image;
}

void ViewSurface::exposeEvent(QExposeEvent* event) {
    if (isExposed()) {
        Render();
    }
    event->accept();
}

bool ViewSurface::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::UpdateRequest:
            if (isExposed()) {
                Render();
            }
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            Forward(event);
            return true;
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::DragLeave:
        case QEvent::Drop:
            ForwardDrag(event);
            return true;
        default:
            return QWindow::event(event);
    }
}

void ViewSurface::Forward(QEvent* event) {
    QWidget* const target = inputTarget_.data();
    if (target == nullptr) {
        event->ignore();
        return;
    }
    if (auto* key = dynamic_cast<QKeyEvent*>(event)) {
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->nativeScanCode(),
                       key->nativeVirtualKey(), key->nativeModifiers(), key->text(),
                       key->isAutoRepeat(), static_cast<quint16>(key->count()));
        QApplication::sendEvent(target, &copy);
        event->setAccepted(copy.isAccepted());
        return;
    }
    if (auto* wheel = dynamic_cast<QWheelEvent*>(event)) {
        const QPointF global = wheel->globalPosition();
        QWheelEvent copy(target->mapFromGlobal(global), global, wheel->pixelDelta(),
                         wheel->angleDelta(), wheel->buttons(), wheel->modifiers(), wheel->phase(),
                         wheel->inverted(), wheel->source());
        QApplication::sendEvent(target, &copy);
        event->setAccepted(copy.isAccepted());
        return;
    }
    if (auto* mouse = dynamic_cast<QMouseEvent*>(event)) {
        // A click into the picture focuses the view, as a click into any widget does.
        if (mouse->type() == QEvent::MouseButtonPress &&
            (target->focusPolicy() & Qt::ClickFocus) == Qt::ClickFocus) {
            target->setFocus(Qt::MouseFocusReason);
        }
        const QPointF global = mouse->globalPosition();
        QMouseEvent copy(mouse->type(), target->mapFromGlobal(global), global, mouse->button(),
                         mouse->buttons(), mouse->modifiers());
        QApplication::sendEvent(target, &copy);
        event->setAccepted(copy.isAccepted());
    }
}

void ViewSurface::ForwardDrag(QEvent* event) {
    QWidget* target = inputTarget_.data();
    while (target != nullptr && !target->acceptDrops()) {
        target = target->parentWidget();
    }
    if (target == nullptr) {
        event->ignore();
        return;
    }
    if (event->type() == QEvent::DragLeave) {
        QDragLeaveEvent copy;
        QApplication::sendEvent(target, &copy);
        return;
    }
    auto* drop = static_cast<QDropEvent*>(event);
    const QPointF at = target->mapFromGlobal(mapToGlobal(drop->position()));
    if (event->type() == QEvent::DragEnter) {
        QDragEnterEvent copy(at.toPoint(), drop->possibleActions(), drop->mimeData(),
                             drop->buttons(), drop->modifiers());
        QApplication::sendEvent(target, &copy);
        drop->setDropAction(copy.dropAction());
        drop->setAccepted(copy.isAccepted());
    } else if (event->type() == QEvent::DragMove) {
        QDragMoveEvent copy(at.toPoint(), drop->possibleActions(), drop->mimeData(),
                            drop->buttons(), drop->modifiers());
        // A widget that took the drag on entering keeps it unless its move handler refuses.
        copy.setDropAction(drop->dropAction());
        copy.setAccepted(drop->isAccepted());
        QApplication::sendEvent(target, &copy);
        drop->setDropAction(copy.dropAction());
        drop->setAccepted(copy.isAccepted());
    } else {
        QDropEvent copy(at, drop->possibleActions(), drop->mimeData(), drop->buttons(),
                        drop->modifiers());
        QApplication::sendEvent(target, &copy);
        drop->setDropAction(copy.dropAction());
        drop->setAccepted(copy.isAccepted());
    }
}

}  // namespace zandrel::view3d
