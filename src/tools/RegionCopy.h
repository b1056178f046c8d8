#pragma once

#include <cstdint>

#include "map/MapGrid.h"

namespace zandrel::tools {

// Block transfers between a map and the clipboard grid. Only the five heights move; tile and
// wall types, goal flags, gravity and friction never do. A block is stored relative to its
// reference height, the first cell's C truncated toward zero, so that it can be laid down at
// the level of wherever it is pasted.

// Writes cells x0..x1, z0..z1 of source, minus the reference height, into cells from (0, 0) of
// target, and sets target's SizeX, SizeZ (even for an empty range) and hasContent.
void CopyRegionTo(const map::MapGrid& source, map::MapGrid& target, std::int32_t x0,
                  std::int32_t z0, std::int32_t x1, std::int32_t z1);

// Sets the block of map starting at (x0, z0) to block's relative heights plus map's own
// reference height there, clipped at map's last x and z; stores the block's far corner (after
// clipping) into x1 and z1 of map.selection, also when nothing was written.
void PasteFrom(map::MapGrid& map, const map::MapGrid& block, std::int32_t x0, std::int32_t z0);

// Adds block's relative heights onto the block of map starting at (x0, z0), clipped as paste.
void MergeFrom(map::MapGrid& map, const map::MapGrid& block, std::int32_t x0, std::int32_t z0);

}  // namespace zandrel::tools
