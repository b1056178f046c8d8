#include "view3d/ViewVolume.h"

#include <algorithm>
#include <cmath>

#include "map/MapGrid.h"
#include "view3d/DrawnHeights.h"

namespace zandrel::view3d {

namespace {

// GL transforms in float; a corner counts as beyond a plane only by more than float rounding.
constexpr double kRelativeSlack = 1e-5;

}  // namespace

bool ViewVolume::MayShowCells(const map::MapGrid& grid, std::int32_t z, std::int32_t x0,
                              std::int32_t x1) const {
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    x0 = std::max(x0, 0);
    x1 = std::min(x1, sizeX - 1);
    if (z < 0 || z >= sizeZ || x0 > x1) {
        return false;
    }
    DrawnHeights heights;
    for (std::int32_t x = x0; x <= x1; ++x) {
        heights.AddCell(grid, x, z);
    }
    if (!heights.finite) {
        return true;
    }
    // For each plane of the volume (x, y and z against -w and +w), whether every corner of the
    // cells' box lies beyond it.
    std::array<bool, 6> allBeyond{};
    allBeyond.fill(true);
    const auto& m = worldToClip_;
    for (const double x : {static_cast<double>(x0), static_cast<double>(x1) + 1.0}) {
        for (const double y : {heights.low, heights.high}) {
            for (const double zz : {static_cast<double>(z), static_cast<double>(z) + 1.0}) {
                std::array<double, 4> clip{};
                for (std::size_t row = 0; row < 4; ++row) {
                    clip[row] = m[row] * x + m[4 + row] * y + m[8 + row] * zz + m[12 + row];
                }
                const double w = clip[3];
                for (std::size_t axis = 0; axis < 3; ++axis) {
                    const double c = clip[axis];
                    const double slack = kRelativeSlack * (std::abs(c) + std::abs(w));
                    allBeyond[axis * 2] = allBeyond[axis * 2] && c + w < -slack;
                    allBeyond[axis * 2 + 1] = allBeyond[axis * 2 + 1] && c - w > slack;
                }
            }
        }
    }
    return std::none_of(allBeyond.begin(), allBeyond.end(), [](bool beyond) { return beyond; });
}

}  // namespace zandrel::view3d
