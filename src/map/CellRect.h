#pragma once

#include <cstdint>

namespace zandrel::map {

// An inclusive block of cells. -1 in the corners means unset; an unset rectangle contains no
// cell with non-negative indices. Rectangles read from a file are kept as read, so a corner may
// also lie outside the map: code that indexes cells with one must check it against the map first.
struct CellRect {
    std::int32_t x0 = -1;
    std::int32_t z0 = -1;
    std::int32_t x1 = -1;
    std::int32_t z1 = -1;
    // Texture object name owned by the 3D view; plain data here, never deleted with the rectangle.
    std::uint32_t texture = 0;

    void Set(std::int32_t newX0, std::int32_t newZ0, std::int32_t newX1, std::int32_t newZ1) {
        x0 = newX0;
        z0 = newZ0;
        x1 = newX1;
        z1 = newZ1;
    }

    bool Contains(std::int32_t x, std::int32_t z) const {
        return x0 <= x && x <= x1 && z0 <= z && z <= z1;
    }

    bool IsUnset() const { return x0 == -1 && z0 == -1 && x1 == -1 && z1 == -1; }

    bool operator==(const CellRect&) const = default;
};

// Where one enemy stands: a single cell, or unset.
using EnemySlot = CellRect;

}  // namespace zandrel::map
