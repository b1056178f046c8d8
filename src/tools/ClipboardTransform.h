#pragma once

#include "map/MapGrid.h"

namespace zandrel::tools {

// Turning and mirroring the block the clipboard holds, so one copied shape serves both sides of
// a symmetric map. Cells move with their five relative heights, each corner going where the
// turn or mirror takes its point; the reference height stays with the block's storage, so paste
// and merge lay the new block as they lay any other. Only the cells of the block are touched.

// A quarter turn: a block W cells along x and D along z becomes D by W, cell (x, z) going to
// (D - 1 - z, x), so a ramp rising along +x rises along +z afterwards. Four turns give the
// block back exactly.
void RotateBlock(map::MapGrid& block);

// Mirrors in x (cell x goes to W - 1 - x) or in z (cell z goes to D - 1 - z); twice gives the
// block back.
void FlipBlockX(map::MapGrid& block);
void FlipBlockZ(map::MapGrid& block);

}  // namespace zandrel::tools
