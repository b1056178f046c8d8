#pragma once

#include <QOpenGLWidget>
#include <QPoint>
#include <cstdint>

#include "map/CellRect.h"

namespace zandrel::app {
class CzandrelEditorDoc;
}

namespace zandrel::view3d {

// The 3D pane of a map window: draws the document's map with its own GL context, loads the
// map's textures on its first draw, and answers which cell lies under a window point.
class CzandrelEditorView : public QOpenGLWidget {
    Q_OBJECT

public:
    static constexpr std::int32_t kRenderWireframe = 1;
    static constexpr std::int32_t kRenderSolid = 3;
    static constexpr int kViewSolidCommand = 130;
    static constexpr int kViewWireframeCommand = 131;

    explicit CzandrelEditorView(app::CzandrelEditorDoc* doc, QWidget* parent = nullptr);
    ~CzandrelEditorView() override;

    app::CzandrelEditorDoc* GetDocument() const { return doc_; }

    // Draws a frame now, before returning, instead of scheduling a repaint.
    void RedrawNow();
    // Makes this view's context current; false (after telling the user) when that fails.
    bool MakeCurrent();

    // Cell name z * 100 + x of the nearest tile or wall under point (widget coordinates), or
    // -1 over empty space or before the first draw.
    std::int32_t Pick(const QPoint& point);

    // Commands 130 and 131 and what their check marks show.
    void OnViewSolid();
    void OnViewWireframe();
    bool IsSolid() const { return renderMode_ == kRenderSolid; }
    bool IsWireframe() const { return renderMode_ == kRenderWireframe; }
    std::int32_t RenderMode() const { return renderMode_; }

    const map::CellRect& selection() const { return selection_; }
    map::CellRect& selection() { return selection_; }

public slots:
    // Another window changed the document: re-read it and redraw.
    void OnUpdate(QObject* sender);

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    app::CzandrelEditorDoc* doc_;
    std::int32_t renderMode_ = kRenderSolid;
    map::CellRect selection_;
};

}  // namespace zandrel::view3d
