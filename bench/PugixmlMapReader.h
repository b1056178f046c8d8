#pragma once

#include <filesystem>

#include "map/MapGrid.h"

namespace zandrel::bench {

// The comparison reader for map files: what a small program built on pugixml and strtod does to
// fill the same grid. It walks the root's attributes once, takes a cell value's field and
// indices from its name, and converts numbers with strtod/strtol; it keeps none of the format's
// finer rules (absent values, limits, inserting lookups), so it is a floor, not a replacement.
bool ReadMapWithPugixml(const std::filesystem::path& path, map::MapGrid& grid);

}  // namespace zandrel::bench
