#pragma once

#include <cstdint>

#include "map/CellRect.h"
#include "map/MapGrid.h"

namespace zandrel::tools {

// What the status bar tells of a selected block: the lowest, highest and mean of its cells'
// corner heights (each cell's own four copies) and the steepest slope between two neighbouring
// corners of one cell, which stand one unit apart, in degrees. Heights that are not finite (a
// file may hold them) are left out; a block with no finite corner has no figures.
struct SelectionFigures {
    bool any = false;
    double lowest = 0.0;
    double highest = 0.0;
    double mean = 0.0;
    double steepestDegrees = 0.0;
};

// The figures of the cells of selection that lie in the map.
SelectionFigures FiguresOf(const map::MapGrid& map, const map::CellRect& selection);

}  // namespace zandrel::tools
