#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <memory>
#include <tuple>

#include "map/MapGrid.h"
#include "tools/DocumentState.h"

namespace zandrel::tools::test {

// Grids are large flat values; tests keep them on the heap.
inline std::unique_ptr<map::MapGrid> NewMap(std::int32_t sizeX = 10, std::int32_t sizeZ = 10) {
    return std::make_unique<map::MapGrid>(sizeX, sizeZ);
}

inline std::unique_ptr<DocumentState> NewDocument(std::int32_t sizeX = 10,
                                                  std::int32_t sizeZ = 10) {
    auto doc = std::make_unique<DocumentState>();
    doc->mapGrid = *NewMap(sizeX, sizeZ);
    return doc;
}

// The five heights in the order NE, NO, SE, SO, C.
using Heights = std::array<double, 5>;

inline Heights HeightsOf(const map::MapCell& cell) {
    return {cell.NE, cell.NO, cell.SE, cell.SO, cell.C};
}

inline void SetHeights(map::MapGrid& grid, std::int32_t x, std::int32_t z, const Heights& h) {
    map::MapCell& cell = grid.Cell(x, z);
    std::tie(cell.NE, cell.NO, cell.SE, cell.SO, cell.C) = std::tuple(h[0], h[1], h[2], h[3], h[4]);
}

// Every copy the cells around vertex (x, z) hold of it: NE of (x, z), NO of (x - 1, z), SE of
// (x, z - 1) and SO of (x - 1, z - 1).
inline std::array<double, 4> VertexCopies(const map::MapGrid& grid, std::int32_t x,
                                          std::int32_t z) {
    return {grid.Cell(x, z).NE, grid.Cell(x - 1, z).NO, grid.Cell(x, z - 1).SE,
            grid.Cell(x - 1, z - 1).SO};
}

inline bool SameHeights(const map::MapGrid& a, const map::MapGrid& b) {
    for (std::int32_t x = 0; x < a.SizeX; ++x) {
        for (std::int32_t z = 0; z < a.SizeZ; ++z) {
            if (HeightsOf(a.Cell(x, z)) != HeightsOf(b.Cell(x, z))) {
                return false;
            }
        }
    }
    return a.SizeX == b.SizeX && a.SizeZ == b.SizeZ;
}

}  // namespace zandrel::tools::test
