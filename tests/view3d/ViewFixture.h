#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QtTest>
#include <cmath>
#include <iostream>
#include <memory>
#include <sstream>

#include "document/CzandrelEditorDoc.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::gui_test {

// Shows a widget at the given size; false when the window system never exposed it.
inline bool Shown(QWidget& widget, int width, int height) {
    widget.resize(width, height);
    widget.show();
    return QTest::qWaitForWindowExposed(&widget);
}

// A new map and a shown view of it, opened afresh for every test.
struct ViewOnNewMap {
    std::unique_ptr<document::CzandrelEditorDoc> doc;
    std::unique_ptr<view3d::CzandrelEditorView> view;

    void Open(int width, int height) {
        doc = std::make_unique<document::CzandrelEditorDoc>();
        QVERIFY(doc->OnNewDocument());
        view = std::make_unique<view3d::CzandrelEditorView>(doc.get());
        QVERIFY(Shown(*view, width, height));
    }
    void Close() {
        view.reset();
        doc.reset();
    }
    map::MapGrid& grid() const { return doc->mapGrid(); }
};

// A 3D view looking straight down from a fixed height, so that window points map to known
// cells: screen right is +x, screen down is +z, the 55 degree field spans the view's height.
class TopDownCamera {
public:
    static constexpr float kEyeHeight = 8.0f;

    TopDownCamera(view3d::CzandrelEditorView& view, float x, float z) : view_(view), x_(x), z_(z) {
        view.navigator().camera.Set(x, kEyeHeight, z, x, 0.0f, z, 0.0f, 0.0f, -1.0f);
        view.RedrawNow();
    }

    // The window point over world position (x, z).
    QPoint Over(float x, float z) const {
        const double pixelsPerUnit =
            view_.height() / (2.0 * kEyeHeight * std::tan(27.5 * M_PI / 180.0));
        return QPoint(
            static_cast<int>(std::lround(view_.width() / 2.0 + (x - x_) * pixelsPerUnit)),
            static_cast<int>(std::lround(view_.height() / 2.0 + (z - z_) * pixelsPerUnit)));
    }
    // The point over the centre of cell (x, z).
    QPoint Cell(int x, int z) const { return Over(x + 0.5f, z + 0.5f); }

private:
    view3d::CzandrelEditorView& view_;
    float x_;
    float z_;
};

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
    void Release(Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point,
                 Qt::KeyboardModifiers keys = {}) const {
        Send(QEvent::MouseButtonRelease, button, buttons, point, keys);
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

// Swaps std::cout's buffer for the lifetime of the object: the view traces the textures it loads.
class CoutCapture {
public:
    CoutCapture() : old_(std::cout.rdbuf(captured_.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old_); }
    QString Text() const { return QString::fromStdString(captured_.str()); }

private:
    std::ostringstream captured_;
    std::streambuf* old_;
};

}  // namespace zandrel::gui_test
