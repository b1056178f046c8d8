#pragma once

#include <filesystem>

#include "map/MapGrid.h"
#include "map/Status.h"
#include "mapfile/MapParser.h"

namespace zandrel::mapfile {

// Fills grid from the root element's attributes (missing or malformed values read as 0) and
// recomputes the normals. Lookups insert absent names into root's table with empty values.
// A map the grid cannot hold (SizeX, SizeZ or numtex above 50, a used texture name over 119
// bytes) is refused with a reason naming the attribute, and grid is left unchanged.
Status LoadFromTable(map::MapGrid& grid, MarkupElement& root);

// The open path: parse the file, then load it into grid. On any failure grid is unchanged and
// the reason says what went wrong (parse messages themselves go to options.diagnostics).
Status LoadMapFile(map::MapGrid& grid, const std::filesystem::path& path,
                   const ParseOptions& options = {});

}  // namespace zandrel::mapfile
