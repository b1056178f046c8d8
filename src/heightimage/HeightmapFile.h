#pragma once

#include <filesystem>
#include <optional>

#include "map/MapGrid.h"
#include "map/Status.h"
#include "tools/Heightmap.h"

namespace zandrel::heightimage {

// Heightmap pictures of maps, the two ends the editor's menu and zdmtool share.

// Writes grid's heights as a 16-bit greyscale PNG of its own lattice, levels spread over the
// map's height range, which is stored in the file and returned in range.
Status ExportHeightmap(const map::MapGrid& grid, const std::filesystem::path& path,
                       tools::HeightRange& range);

// Reads a heightmap picture as heights: range when given, else the one stored in the file;
// a file with neither fails with a reason that says to give a range. The field is ready for
// tools::ImportHeightField (an edit with undo) or tools::ApplyHeightField; used says which
// range it spans.
Status LoadHeightmap(const std::filesystem::path& path, std::optional<tools::HeightRange> range,
                     tools::HeightField& field, tools::HeightRange& used);

}  // namespace zandrel::heightimage
