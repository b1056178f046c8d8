#pragma once

#include <rapidcheck.h>

#include <cstdint>
#include <vector>

#include "map/MapGrid.h"
#include "support/TerrainFixture.h"
#include "tools/MapSelection.h"

namespace zandrel::tools::test {

// Every height of the cells in use in quarters between -10 and 10: sums and differences of
// them stay exact, and whole and fractional, positive and negative centres all occur.
inline void GenHeights(map::MapGrid& grid) {
    const auto quarters = *rc::gen::container<std::vector<int>>(
        static_cast<std::size_t>(grid.SizeX * grid.SizeZ * 5), rc::gen::inRange(-40, 41));
    std::size_t i = 0;
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            map::MapCell& cell = grid.Cell(x, z);
            for (double* h : {&cell.NE, &cell.NO, &cell.SE, &cell.SO, &cell.C}) {
                *h = quarters[i++] / 4.0;
            }
        }
    }
}

// A block of cells inside the map in use, corners in order.
inline MapSelection GenBlock(const map::MapGrid& grid) {
    const std::int32_t x0 = *rc::gen::inRange(0, grid.SizeX);
    const std::int32_t z0 = *rc::gen::inRange(0, grid.SizeZ);
    return {x0, z0, *rc::gen::inRange(x0, grid.SizeX), *rc::gen::inRange(z0, grid.SizeZ)};
}

// Whether every stored cell (in use or not) outside rect has the heights it has in before.
inline bool SameHeightsOutside(const map::MapGrid& grid, const map::MapGrid& before,
                               const map::CellRect& rect) {
    for (std::int32_t x = 0; x < map::kMaxMapSize; ++x) {
        for (std::int32_t z = 0; z < map::kMaxMapSize; ++z) {
            const bool inside = x >= rect.x0 && x <= rect.x1 && z >= rect.z0 && z <= rect.z1;
            if (!inside && HeightsOf(grid.Cell(x, z)) != HeightsOf(before.Cell(x, z))) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace zandrel::tools::test
