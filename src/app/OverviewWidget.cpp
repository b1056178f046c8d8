#include "app/OverviewWidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "app/CChildFrame.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/CellRay.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace {

const QColor kBackground(40, 40, 40);
const QColor kStart(60, 220, 90);
const QColor kEnemy(230, 50, 50);
const QColor kCamera(255, 255, 255, 50);

std::int32_t InUse(std::int32_t size) {
    return std::clamp(size, 0, map::kMaxMapSize);
}

}  // namespace

OverviewWidget::OverviewWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("overviewMap"));
    setMinimumSize(100, 100);
    setMouseTracking(false);
}

QSize OverviewWidget::sizeHint() const {
    return {250, 250};
}

const document::CzandrelEditorDoc* OverviewWidget::Document() const {
    return doc_;
}

void OverviewWidget::Follow(CChildFrame* frame) {
    document::CzandrelEditorDoc* doc = frame != nullptr ? frame->GetDocument() : nullptr;
    view_ = frame != nullptr ? frame->View() : nullptr;
    anchor_.reset();
    reach_.reset();
    if (doc != doc_) {
        disconnect(changed_);
        doc_ = doc;
        picture_ = OverviewImage();
        if (doc_ != nullptr) {
            changed_ = connect(doc_, &document::CzandrelEditorDoc::viewsNeedUpdate, this,
                               &OverviewWidget::Refresh);
        }
    }
    Refresh();
}

void OverviewWidget::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    Refresh();
}

void OverviewWidget::Refresh() {
    // A hidden overview catches up when it shows again.
    if (!isVisible()) {
        return;
    }
    if (doc_ != nullptr) {
        lastDrawnRows_ = picture_.Update(doc_->mapGrid());
    }
    update();
}

double OverviewWidget::Scale() const {
    if (doc_ == nullptr) {
        return 0.0;
    }
    const map::MapGrid& grid = doc_->mapGrid();
    const int cellsX = std::max(InUse(grid.SizeX), 1);
    const int cellsZ = std::max(InUse(grid.SizeZ), 1);
    return std::min(static_cast<double>(width()) / cellsX, static_cast<double>(height()) / cellsZ);
}

QPointF OverviewWidget::Origin() const {
    const map::MapGrid& grid = doc_->mapGrid();
    const double scale = Scale();
    return {(width() - scale * InUse(grid.SizeX)) / 2.0,
            (height() - scale * InUse(grid.SizeZ)) / 2.0};
}

QPointF OverviewWidget::ToWidget(double x, double z) const {
    return Origin() + QPointF(x * Scale(), z * Scale());
}

QRectF OverviewWidget::CellArea(int x, int z) const {
    if (doc_ == nullptr) {
        return {};
    }
    return {ToWidget(x, z), QSizeF(Scale(), Scale())};
}

std::optional<tools::CellIndex> OverviewWidget::CellAt(const QPointF& point) const {
    if (doc_ == nullptr || Scale() <= 0.0) {
        return std::nullopt;
    }
    const QPointF at = (point - Origin()) / Scale();
    const tools::CellIndex cell{static_cast<std::int32_t>(std::floor(at.x())),
                                static_cast<std::int32_t>(std::floor(at.y()))};
    if (!doc_->mapGrid().InMap(cell.x, cell.z)) {
        return std::nullopt;
    }
    return cell;
}

void OverviewWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (doc_ == nullptr) {
        return;
    }
    const map::MapGrid& grid = doc_->mapGrid();
    const int side = OverviewImage::kCellPixels;
    const QRectF source(0, 0, InUse(grid.SizeX) * side, InUse(grid.SizeZ) * side);
    const QRectF target(Origin(), QSizeF(Scale() * InUse(grid.SizeX), Scale() * InUse(grid.SizeZ)));
    painter.drawImage(target, picture_.Image(), source);
    painter.setClipRect(target);
    DrawMarks(painter);
}

void OverviewWidget::DrawMarks(QPainter& painter) const {
    const map::MapGrid& grid = doc_->mapGrid();
    const double scale = Scale();
    painter.setRenderHint(QPainter::Antialiasing);
    const double radius = std::max(scale * 0.45, 4.0);
    const auto mark = [&](const map::CellRect& place, const QColor& colour, const QString& text) {
        if (!grid.InMap(place.x0, place.z0)) {
            return;
        }
        const QPointF centre = ToWidget(place.x0 + 0.5, place.z0 + 0.5);
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(colour);
        painter.drawEllipse(centre, radius, radius);
        if (!text.isEmpty() && radius >= 5.0) {
            painter.setPen(Qt::white);
            painter.drawText(
                QRectF(centre - QPointF(radius, radius), QSizeF(2 * radius, 2 * radius)),
                Qt::AlignCenter, text);
        }
    };
    mark(grid.start, kStart, QStringLiteral("S"));
    for (int k = 0; k < map::kEnemySlotCount; ++k) {
        mark(grid.enemies[static_cast<std::size_t>(k)], kEnemy, QString::number(k + 1));
    }
    if (view_ == nullptr) {
        return;
    }
    // What the view's camera shows, on the ground at the height it looks at.
    const tools::Camera& camera = view_->navigator().camera;
    const auto footprint =
        tools::ViewFootprint(camera, view_->width(), view_->height(), camera.target[1]);
    QPolygonF outline;
    for (const tools::GroundPoint& point : footprint) {
        outline << ToWidget(point[0], point[1]);
    }
    painter.setPen(QPen(Qt::white, 1.0, Qt::DashLine));
    painter.setBrush(kCamera);
    painter.drawPolygon(outline);
    painter.setBrush(Qt::white);
    painter.drawEllipse(ToWidget(camera.eye[0], camera.eye[2]), 3.0, 3.0);
    // The selection last, over everything it covers.
    const tools::MapSelection& selection = view_->selection();
    const QRectF block(ToWidget(selection.x0, selection.z0),
                       ToWidget(selection.x1 + 1.0, selection.z1 + 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 3.0));
    painter.drawRect(block);
    painter.setPen(QPen(QColor(255, 255, 120), 1.5));
    painter.drawRect(block);
}

void OverviewWidget::Select(bool focus) {
    if (doc_ == nullptr || view_ == nullptr || !anchor_ || !reach_) {
        return;
    }
    view3d::CzandrelEditorView* view = view_;
    const tools::CellIndex from = *anchor_;
    const tools::CellIndex to = *reach_;
    // As a click or drag in the 3D view leaves it: the view draws first, since the panel reads
    // the selection that frame stores, then the other views hear of it.
    doc_->Change(
        [view, from, to, focus](tools::DocumentState& /*state*/) {
            view->session().SelectCells(from.x, from.z, to.x, to.z);
            if (focus) {
                const tools::MapSelection& s = view->selection();
                view->navigator().FocusOn(s.x0, s.z0, s.x1, s.z1);
            }
            view->RedrawNow();
            return tools::EditOutcome{.redraw = true, .notifyViews = true};
        },
        view);
}

void OverviewWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    anchor_ = reach_ = CellAt(event->position());
    Select(false);
    event->accept();
}

void OverviewWidget::mouseMoveEvent(QMouseEvent* event) {
    if (!anchor_ || !event->buttons().testFlag(Qt::LeftButton) || doc_ == nullptr) {
        return;
    }
    // Past the map's edge the block stops at it.
    const map::MapGrid& grid = doc_->mapGrid();
    const QPointF at = (event->position() - Origin()) / Scale();
    const tools::CellIndex cell{
        std::clamp(static_cast<std::int32_t>(std::floor(at.x())), 0, InUse(grid.SizeX) - 1),
        std::clamp(static_cast<std::int32_t>(std::floor(at.y())), 0, InUse(grid.SizeZ) - 1)};
    if (cell != *reach_) {
        reach_ = cell;
        Select(false);
    }
    event->accept();
}

void OverviewWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !anchor_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // Like the 3D view, the orbit moves to the selection when the button comes up.
    Select(true);
    anchor_.reset();
    reach_.reset();
    event->accept();
}

}  // namespace zandrel::app
