#pragma once

#include <QImage>
#include <cstdint>

#include "tools/OverviewRows.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::app {

// The top-down picture of a map the overview shows: each cell a square tinted by its height,
// walls as darker lines along the edges where neighbours part, goal cells marked. It is kept
// from one change to the next and drawn again only in the rows a change reaches.
class OverviewImage {
public:
    // Pixels per cell side; the widget scales the picture to its own size.
    static constexpr int kCellPixels = 8;

    OverviewImage();

    // Brings the picture in line with grid; the number of rows drawn.
    int Update(const map::MapGrid& grid);
    // Every cell of the largest map, whatever the map's size; outside it the picture is dark.
    const QImage& Image() const { return image_; }

private:
    void DrawRow(const map::MapGrid& grid, std::int32_t z);

    tools::OverviewRows rows_;
    QImage image_;
};

}  // namespace zandrel::app
