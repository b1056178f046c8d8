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

// Saves grid to path without ever leaving a half-written file; see ReplaceFileContents for how,
// and for which targets other than regular files are written or refused.
Status SaveMapFile(const map::MapGrid& grid, const std::filesystem::path& path);

}  // namespace zandrel::mapfile
