#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <optional>

#include "app/OverviewImage.h"
#include "tools/MapFinding.h"

namespace zandrel::document {
class CzandrelEditorDoc;
}
namespace zandrel::view3d {
class CzandrelEditorView;
}

namespace zandrel::app {

class CChildFrame;

// "Panoramica": the active map from above, with the start, the enemies, the 3D view's
// selection and the part of the ground its camera shows. A click selects a cell as a pick in the
// 3D view would and centres the orbit on it; a drag selects the block it spans. Neither is an
// edit. The picture follows every change of the map it shows.
class OverviewWidget : public QWidget {
    Q_OBJECT

public:
    explicit OverviewWidget(QWidget* parent = nullptr);

    // Shows frame's map and selection from now on; null shows nothing.
    void Follow(CChildFrame* frame);
    const document::CzandrelEditorDoc* Document() const;

    // Where cell (x, z) lies in the widget, and the cell under a point (nothing off the map).
    QRectF CellArea(int x, int z) const;
    std::optional<tools::CellIndex> CellAt(const QPointF& point) const;
    // Rows the picture drew at the last change it followed.
    int LastDrawnRows() const { return lastDrawnRows_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Refresh();
    // Cell size in widget pixels and the map's top left corner.
    double Scale() const;
    QPointF Origin() const;
    QPointF ToWidget(double x, double z) const;
    // The block from the pressed cell to the one reached as the view's selection, through the
    // document; focus also centres the orbit on it.
    void Select(bool focus);
    void DrawMarks(QPainter& painter) const;

    QPointer<document::CzandrelEditorDoc> doc_;
    QPointer<view3d::CzandrelEditorView> view_;
    QMetaObject::Connection changed_;
    OverviewImage picture_;
    // The cell the button went down on and the one the drag has reached.
    std::optional<tools::CellIndex> anchor_;
    std::optional<tools::CellIndex> reach_;
    int lastDrawnRows_ = 0;
};

}  // namespace zandrel::app
