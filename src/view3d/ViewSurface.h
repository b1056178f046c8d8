#pragma once

#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPointer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>

namespace zandrel::view3d {

// The native window the 3D view draws into, with its own GL context in the application's share
// group: a frame is make current, draw, swap, without the compose step of a widget's
// framebuffer. The window is embedded in a widget (QWidget::createWindowContainer); the mouse,
// wheel, key and drag messages it receives go on to that widget, so the widget side keeps
// handling input, focus and dropped files as before.
class ViewSurface : public QWindow {
    Q_OBJECT

public:
    // What the owner does with the context current: once after the context exists, and for
    // every frame.
    struct Painter {
        std::function<void()> initialize;
        std::function<void()> paint;
    };

    ViewSurface(QWidget* inputTarget, Painter painter);
    ~ViewSurface() override;

    // Creates the context on first use (and runs the painter's initialize) and makes it current,
    // on the window once it exists, otherwise on a small offscreen surface so that a view
    // never shown can still load textures and pick.
    bool MakeCurrent();
    QOpenGLContext* Context() const { return context_.get(); }
    // Why the context could not be made, or nullptr while it is usable.
    const char* Failure() const { return failure_; }

    // Draws a frame and shows it now.
    void Render();
    // Draws a frame of size pixels into a framebuffer object and returns its image; the window
    // keeps its shown frame.
    QImage Grab(const QSize& size);

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;

private:
    bool CreateContext();
    // What the context draws into: the window when it is on screen, else an off-screen surface.
    QSurface* Target();
    // Hands an input message to the widget side; drags go to the nearest widget that accepts
    // drops, with the point in its coordinates.
    void Forward(QEvent* event);
    void ForwardDrag(QEvent* event);

    QPointer<QWidget> inputTarget_;
    Painter painter_;
    std::unique_ptr<QOpenGLContext> context_;
    std::unique_ptr<QOffscreenSurface> offscreen_;
    const char* failure_ = nullptr;
    bool frameShown_ = false;
};

}  // namespace zandrel::view3d
