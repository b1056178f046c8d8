#include "view3d/DrawnHeights.h"

#include <algorithm>
#include <cmath>

#include "map/MapGrid.h"

namespace zandrel::view3d {

void DrawnHeights::Add(double height) {
    const auto drawn = static_cast<double>(static_cast<float>(height));
    if (!std::isfinite(drawn)) {
        finite = false;
        return;
    }
    low = any ? std::min(low, drawn) : drawn;
    high = any ? std::max(high, drawn) : drawn;
    any = true;
}

void DrawnHeights::AddCell(const map::MapGrid& grid, std::int32_t x, std::int32_t z) {
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    const map::MapCell& cell = grid.Cell(x, z);
    for (const double h : {cell.NE, cell.NO, cell.SE, cell.SO, cell.C}) {
        Add(h);
    }
    // The neighbour's corners on the shared edge, which the wall on that side reaches.
    const auto addEdge = [&](bool has, std::int32_t nx, std::int32_t nz,
                             double map::MapCell::*first, double map::MapCell::*second) {
        Add(has ? grid.Cell(nx, nz).*first : 0.0);
        Add(has ? grid.Cell(nx, nz).*second : 0.0);
    };
    addEdge(z + 1 < sizeZ, x, z + 1, &map::MapCell::NE, &map::MapCell::NO);
    addEdge(z - 1 >= 0, x, z - 1, &map::MapCell::SE, &map::MapCell::SO);
    addEdge(x - 1 >= 0, x - 1, z, &map::MapCell::SO, &map::MapCell::NO);
    addEdge(x + 1 < sizeX, x + 1, z, &map::MapCell::SE, &map::MapCell::NE);
}

}  // namespace zandrel::view3d
