#include "tools/RegionCopy.h"

#include <algorithm>
#include <limits>

#include "tools/WholeNumber.h"

namespace zandrel::tools {

namespace {

using map::MapCell;
using map::MapGrid;

constexpr std::int64_t kLastIndex = map::kMaxMapSize - 1;

bool InStorage(std::int32_t x, std::int32_t z) {
    return x >= 0 && z >= 0 && x <= kLastIndex && z <= kLastIndex;
}

std::int32_t ClampToInt32(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// The far end of a block of `size` cells laid from `origin`, cut off at the map's last index.
std::int32_t ClippedEnd(std::int32_t origin, std::int32_t size, std::int32_t mapSize) {
    const std::int64_t end = std::int64_t{origin} + size - 1;
    return ClampToInt32(std::min<std::int64_t>(end, std::int64_t{mapSize} - 1));
}

void AddHeights(MapCell& cell, const MapCell& relative, double base) {
    cell.NE = base + relative.NE;
    cell.NO = base + relative.NO;
    cell.SE = base + relative.SE;
    cell.SO = base + relative.SO;
    cell.C = base + relative.C;
}

// Visits the cells of the block (x0..xe, z0..ze) of map that both grids' storage holds, with
// the matching cell of the block grid, x outer and z inner.
template <typename Visit>
void ForBlock(MapGrid& map, const MapGrid& block, std::int32_t x0, std::int32_t z0, std::int32_t xe,
              std::int32_t ze, Visit visit) {
    if (x0 < 0 || z0 < 0) {
        return;
    }
    const std::int64_t lastX = std::min<std::int64_t>(xe, kLastIndex);
    const std::int64_t lastZ = std::min<std::int64_t>(ze, kLastIndex);
    for (std::int64_t x = x0; x <= lastX; ++x) {
        for (std::int64_t z = z0; z <= lastZ; ++z) {
            visit(map.cells[x][z], block.cells[x - x0][z - z0]);
        }
    }
}

}  // namespace

void CopyRegionTo(const MapGrid& source, MapGrid& target, std::int32_t x0, std::int32_t z0,
                  std::int32_t x1, std::int32_t z1) {
    const std::int32_t reference = InStorage(x0, z0) ? TruncateToInt32(source.Cell(x0, z0).C) : 0;
    const double base = reference;
    if (x0 >= 0 && z0 >= 0) {
        const std::int64_t lastX = std::min<std::int64_t>(x1, kLastIndex);
        const std::int64_t lastZ = std::min<std::int64_t>(z1, kLastIndex);
        for (std::int64_t x = x0; x <= lastX; ++x) {
            for (std::int64_t z = z0; z <= lastZ; ++z) {
                const MapCell& from = source.cells[x][z];
                MapCell& to = target.cells[x - x0][z - z0];
                to.NE = from.NE - base;
                to.NO = from.NO - base;
                to.SE = from.SE - base;
                to.SO = from.SO - base;
                to.C = from.C - base;
            }
        }
    }
    target.SizeX = ClampToInt32(std::int64_t{x1} - x0 + 1);
    target.SizeZ = ClampToInt32(std::int64_t{z1} - z0 + 1);
    target.hasContent = true;
}

void PasteFrom(MapGrid& map, const MapGrid& block, std::int32_t x0, std::int32_t z0) {
    const double base = InStorage(x0, z0) ? TruncateToInt32(map.Cell(x0, z0).C) : 0;
    const std::int32_t xe = ClippedEnd(x0, block.SizeX, map.SizeX);
    const std::int32_t ze = ClippedEnd(z0, block.SizeZ, map.SizeZ);
    ForBlock(map, block, x0, z0, xe, ze,
             [base](MapCell& cell, const MapCell& relative) { AddHeights(cell, relative, base); });
    map.selection.x1 = xe;
    map.selection.z1 = ze;
}

void MergeFrom(MapGrid& map, const MapGrid& block, std::int32_t x0, std::int32_t z0) {
    const std::int32_t xe = ClippedEnd(x0, block.SizeX, map.SizeX);
    const std::int32_t ze = ClippedEnd(z0, block.SizeZ, map.SizeZ);
    ForBlock(map, block, x0, z0, xe, ze, [](MapCell& cell, const MapCell& relative) {
        cell.NE += relative.NE;
        cell.NO += relative.NO;
        cell.SE += relative.SE;
        cell.SO += relative.SO;
        cell.C += relative.C;
    });
}

}  // namespace zandrel::tools
