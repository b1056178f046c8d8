#include "app/OverviewImage.h"

#include <QPainter>
#include <algorithm>

#include "map/MapGrid.h"

namespace zandrel::app {

namespace {

constexpr int kSide = OverviewImage::kCellPixels;
// Walls and marks take the inner edge of their own cell, so that a row's picture never reaches
// into its neighbours' and each row can be drawn alone.
constexpr int kWallWidth = 2;
const QColor kOutside(40, 40, 40);
const QColor kGoal(255, 120, 40);

QColor ToColour(const tools::Rgb& rgb) {
    return QColor::fromRgbF(rgb[0], rgb[1], rgb[2]);
}

}  // namespace

OverviewImage::OverviewImage()
    : image_(map::kMaxMapSize * kSide, map::kMaxMapSize * kSide, QImage::Format_RGB32) {
    image_.fill(kOutside);
}

int OverviewImage::Update(const map::MapGrid& grid) {
    const tools::OverviewRows::Changes changes = rows_.Update(grid);
    if (changes.whole) {
        image_.fill(kOutside);
    }
    for (const std::int32_t z : changes.rows) {
        DrawRow(grid, z);
    }
    return static_cast<int>(changes.rows.size());
}

void OverviewImage::DrawRow(const map::MapGrid& grid, std::int32_t z) {
    QPainter painter(&image_);
    const std::int32_t sizeX = std::clamp(grid.SizeX, 0, map::kMaxMapSize);
    const int top = z * kSide;
    for (std::int32_t x = 0; x < sizeX; ++x) {
        const map::MapCell& cell = grid.cells[x][z];
        const QColor colour = ToColour(tools::OverviewRows::CellColour(cell, rows_.HeightRange()));
        const int left = x * kSide;
        painter.fillRect(left, top, kSide, kSide, colour);
        const QColor wall = colour.darker(260);
        if (tools::OverviewRows::WallToNextX(grid, x, z)) {
            painter.fillRect(left + kSide - kWallWidth, top, kWallWidth, kSide, wall);
        }
        if (tools::OverviewRows::WallToNextZ(grid, x, z)) {
            painter.fillRect(left, top + kSide - kWallWidth, kSide, kWallWidth, wall);
        }
        if (cell.goal != 0) {
            painter.fillRect(left + 2, top + 2, kSide - 2 - kWallWidth, kSide - 2 - kWallWidth,
                             kGoal);
        }
    }
}

}  // namespace zandrel::app
