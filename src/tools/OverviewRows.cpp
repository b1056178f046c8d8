#include "tools/OverviewRows.h"

#include <algorithm>
#include <bit>

namespace zandrel::tools {

namespace {

bool SameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// What the picture shows of a cell: its heights (colour and walls) and its goal mark.
bool SameShown(const map::MapCell& a, const map::MapCell& b) {
    return SameBits(a.NE, b.NE) && SameBits(a.NO, b.NO) && SameBits(a.SE, b.SE) &&
           SameBits(a.SO, b.SO) && SameBits(a.C, b.C) && a.goal == b.goal;
}

std::int32_t InUse(std::int32_t size) {
    return std::clamp(size, 0, map::kMaxMapSize);
}

}  // namespace

OverviewRows::OverviewRows() : drawn_(std::make_unique<Cells>()) {}

OverviewRows::~OverviewRows() = default;

OverviewRows::Changes OverviewRows::Update(const map::MapGrid& grid) {
    const std::int32_t sizeX = InUse(grid.SizeX);
    const std::int32_t sizeZ = InUse(grid.SizeZ);
    const ValueRange range = FieldRange(grid, CellField::Height).value_or(ValueRange{});
    Changes changes;
    changes.whole = sizeX != sizeX_ || sizeZ != sizeZ_ || !(range == range_);
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        bool changed = changes.whole;
        for (std::int32_t x = 0; x < sizeX && !changed; ++x) {
            changed = !SameShown(grid.cells[x][z], (*drawn_)[x][z]);
        }
        if (!changed) {
            continue;
        }
        if (!changes.whole && z > 0 && (changes.rows.empty() || changes.rows.back() != z - 1)) {
            changes.rows.push_back(z - 1);
        }
        changes.rows.push_back(z);
        for (std::int32_t x = 0; x < sizeX; ++x) {
            (*drawn_)[x][z] = grid.cells[x][z];
        }
    }
    sizeX_ = sizeX;
    sizeZ_ = sizeZ;
    range_ = range;
    return changes;
}

Rgb OverviewRows::CellColour(const map::MapCell& cell, const ValueRange& range) {
    const double mean = (cell.NE + cell.NO + cell.SE + cell.SO + cell.C) / 5.0;
    return RampColour(RampPosition(mean, range));
}

bool OverviewRows::WallToNextX(const map::MapGrid& grid, std::int32_t x, std::int32_t z) {
    if (x + 1 >= InUse(grid.SizeX)) {
        return false;
    }
    const map::MapCell& cell = grid.cells[x][z];
    const map::MapCell& next = grid.cells[x + 1][z];
    return !(cell.NO == next.NE && cell.SO == next.SE);
}

bool OverviewRows::WallToNextZ(const map::MapGrid& grid, std::int32_t x, std::int32_t z) {
    if (z + 1 >= InUse(grid.SizeZ)) {
        return false;
    }
    const map::MapCell& cell = grid.cells[x][z];
    const map::MapCell& next = grid.cells[x][z + 1];
    return !(cell.SE == next.NE && cell.SO == next.NO);
}

}  // namespace zandrel::tools
