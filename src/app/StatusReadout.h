#pragma once

#include <QString>
#include <cstdint>

#include "map/CellRect.h"
#include "map/MapGrid.h"
#include "tools/TextureStroke.h"

namespace zandrel::app {

// The status bar's pointer field: the cell under the pointer (its place, five heights, tile
// and wall textures, friction, gravity and goal flag), the selection's corners and size with
// the figures of its heights, and the current tool's name (a brush that is on stands for it).
class StatusReadout {
public:
    // cell: z * 100 + x as the view names cells, -1 (or a cell outside the map) when the
    // pointer is over no cell. toolMode: the view's tools::ToolMode.
    static QString Text(const map::MapGrid& grid, std::int32_t cell, const map::CellRect& selection,
                        std::int32_t toolMode, tools::BrushKind brush = tools::BrushKind::Off);

    static QString CellText(const map::MapGrid& grid, std::int32_t cell);
    static QString SelectionText(const map::CellRect& selection);
    // Lowest, highest and mean corner height and steepest slope of the selected cells.
    static QString FiguresText(const map::MapGrid& grid, const map::CellRect& selection);
    static QString ToolName(std::int32_t toolMode);
};

}  // namespace zandrel::app
