#pragma once

#include <ostream>

#include "map/MapGrid.h"

namespace zandrel::cli {

// A short human-readable description of a map: size, texture slots, enemy texture, start,
// enemies, height range and goal cells.
void WriteMapSummary(std::ostream& out, const map::MapGrid& grid);

}  // namespace zandrel::cli
