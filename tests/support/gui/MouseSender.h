#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

namespace zandrel::gui_test {

// Mouse messages delivered straight to a widget, as the window system would: buttons is what
// is held after the change, so a press includes its own button and a release no longer does.
struct MouseSender {
    QWidget* widget;

    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point,
              Qt::KeyboardModifiers keys) const {
        QMouseEvent event(type, QPointF(point), QPointF(widget->mapToGlobal(point)), button,
                          buttons, keys);
        QApplication::sendEvent(widget, &event);
    }
    void Press(Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point,
               Qt::KeyboardModifiers keys = {}) const {
        Send(QEvent::MouseButtonPress, button, buttons, point, keys);
    }
    void Release(Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point) const {
        Send(QEvent::MouseButtonRelease, button, buttons, point, {});
    }
    void Move(Qt::MouseButtons buttons, QPoint point, Qt::KeyboardModifiers keys = {}) const {
        Send(QEvent::MouseMove, Qt::NoButton, buttons, point, keys);
    }
    void Click(QPoint point) const {
        Press(Qt::LeftButton, Qt::LeftButton, point);
        Release(Qt::LeftButton, Qt::NoButton, point);
    }
    // The angle as the window system reports it: with Alt held, X11 turns it sideways.
    void Wheel(int delta, QPoint point, Qt::KeyboardModifiers keys = {}) const {
        const QPoint angle = keys.testFlag(Qt::AltModifier) ? QPoint(delta, 0) : QPoint(0, delta);
        QWheelEvent event(QPointF(point), QPointF(widget->mapToGlobal(point)), QPoint(), angle,
                          Qt::NoButton, keys, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &event);
    }
};

}  // namespace zandrel::gui_test
