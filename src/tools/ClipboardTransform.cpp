#include "tools/ClipboardTransform.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace zandrel::tools {

namespace {

using map::MapCell;
using Cells = decltype(map::MapGrid::cells);

// Cells of the block along one side that the storage holds: a region copy may record a size
// outside 0..50 for a range it could not take whole.
std::int32_t HeldSpan(std::int32_t size) {
    return std::clamp(size, 0, map::kMaxMapSize);
}

// A quarter turn takes a point (x, z) of the block to (D - z, x): what was the NE corner of a
// cell becomes its NO corner, and so round.
MapCell Turned(const MapCell& from) {
    MapCell to = from;
    to.NE = from.SE;
    to.NO = from.NE;
    to.SO = from.NO;
    to.SE = from.SO;
    return to;
}

}  // namespace

void RotateBlock(map::MapGrid& block) {
    const std::int32_t width = HeldSpan(block.SizeX);
    const std::int32_t depth = HeldSpan(block.SizeZ);
    // A grid's cells are some 200 kilobytes: the copy turned from lives on the heap.
    const auto before = std::make_unique<Cells>(block.cells);
    for (std::int32_t x = 0; x < width; ++x) {
        for (std::int32_t z = 0; z < depth; ++z) {
            block.cells[depth - 1 - z][x] = Turned((*before)[x][z]);
        }
    }
    std::swap(block.SizeX, block.SizeZ);
}

void FlipBlockX(map::MapGrid& block) {
    const std::int32_t width = HeldSpan(block.SizeX);
    const std::int32_t depth = HeldSpan(block.SizeZ);
    for (std::int32_t z = 0; z < depth; ++z) {
        for (std::int32_t x = 0; x < width; ++x) {
            MapCell& cell = block.cells[x][z];
            std::swap(cell.NE, cell.NO);
            std::swap(cell.SE, cell.SO);
        }
        for (std::int32_t x = 0; x < width / 2; ++x) {
            std::swap(block.cells[x][z], block.cells[width - 1 - x][z]);
        }
    }
}

void FlipBlockZ(map::MapGrid& block) {
    const std::int32_t width = HeldSpan(block.SizeX);
    const std::int32_t depth = HeldSpan(block.SizeZ);
    for (std::int32_t x = 0; x < width; ++x) {
        for (std::int32_t z = 0; z < depth; ++z) {
            MapCell& cell = block.cells[x][z];
            std::swap(cell.NE, cell.SE);
            std::swap(cell.NO, cell.SO);
        }
        for (std::int32_t z = 0; z < depth / 2; ++z) {
            std::swap(block.cells[x][z], block.cells[x][depth - 1 - z]);
        }
    }
}

}  // namespace zandrel::tools
