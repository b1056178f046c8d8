#pragma once

#include <cstdint>
#include <cstdlib>

#include "map/MapGrid.h"

namespace zandrel::tools {

// The texture brushes of the "F&unzioni" menu: what a left drag in the 3D view paints.
enum class BrushKind { Off, Tile, Wall };

// Visits, from (x0, z0) to (x1, z1), every cell that the straight line between the two cells'
// centres passes through: |x1 - x0| + |z1 - z0| + 1 cells, each sharing an edge with the one
// before, so a stroke drawn from a few mouse positions has no gaps. Where the line runs exactly
// through a vertex, the step along x comes before the step along z.
template <typename Visit>
void ForCellsOnLine(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1,
                    Visit visit) {
    const std::int64_t spanX = std::llabs(std::int64_t{x1} - x0);
    const std::int64_t spanZ = std::llabs(std::int64_t{z1} - z0);
    const std::int32_t stepX = x1 < x0 ? -1 : 1;
    const std::int32_t stepZ = z1 < z0 ? -1 : 1;
    std::int32_t x = x0;
    std::int32_t z = z0;
    visit(x, z);
    // The line crosses its (i + 1)-th x boundary at t = (2i + 1) / (2 spanX) and its (j + 1)-th
    // z boundary at (2j + 1) / (2 spanZ); compared crosswise, in whole numbers.
    for (std::int64_t i = 0, j = 0; i < spanX || j < spanZ;) {
        const bool alongX = j == spanZ || (i < spanX && (2 * i + 1) * spanZ <= (2 * j + 1) * spanX);
        if (alongX) {
            x += stepX;
            ++i;
        } else {
            z += stepZ;
            ++j;
        }
        visit(x, z);
    }
}

// One stroke of a texture brush over the map: every cell it reaches gets the texture slot as
// its tile or wall texture, as the panel's "Tile" or "Wall" gives a one-cell selection; nothing
// else of any cell changes. A negative slot (no entry chosen in the list) paints nothing.
class TextureStroke {
public:
    TextureStroke(BrushKind kind, std::int32_t slot) : kind_(kind), slot_(slot) {}

    // The pointer is over cell name (z * 100 + x), or over no cell (-1): the cells from the
    // last cell reached to this one are painted. Off the terrain the line breaks, and the next
    // cell starts a new one. Cells outside the map are never painted.
    void Reach(map::MapGrid& map, std::int32_t name);

private:
    void Paint(map::MapGrid& map, std::int32_t x, std::int32_t z);

    BrushKind kind_;
    std::int32_t slot_;
    std::int32_t last_ = -1;
};

}  // namespace zandrel::tools
