#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

#include "map/MapGrid.h"
#include "map/Status.h"

namespace zandrel::mapfile {

// The .zdm text of grid, byte for byte as the editor has always written it.
std::string FormatMap(const map::MapGrid& grid);

// Writes the map text to an open stream and flushes it; false when any write fails.
bool WriteMap(const map::MapGrid& grid, std::FILE* stream);

// Saves grid to path without ever leaving a half-written file: the text goes to a temporary
// file in the same folder, which replaces path only once every write, flush and close has
// succeeded. An existing file that is not a regular file (a device, a pipe) is written in place.
Status SaveMapFile(const map::MapGrid& grid, const std::filesystem::path& path);

}  // namespace zandrel::mapfile
