#include "tools/MapResize.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>

namespace zandrel::tools {

namespace {

using map::MapGrid;

struct AnchorEntry {
    ResizeAnchor anchor;
    std::string_view name;
    // 0 keeps the low end of the side in place, 1 the middle, 2 the high end; x then z.
    std::int32_t sideX;
    std::int32_t sideZ;
};

constexpr std::array<AnchorEntry, 9> kAnchors = {{
    {ResizeAnchor::NorthEast, "ne", 0, 0},
    {ResizeAnchor::North, "n", 1, 0},
    {ResizeAnchor::NorthWest, "no", 2, 0},
    {ResizeAnchor::East, "e", 0, 1},
    {ResizeAnchor::Centre, "c", 1, 1},
    {ResizeAnchor::West, "o", 2, 1},
    {ResizeAnchor::SouthEast, "se", 0, 2},
    {ResizeAnchor::South, "s", 1, 2},
    {ResizeAnchor::SouthWest, "so", 2, 2},
}};

const AnchorEntry& EntryOf(ResizeAnchor anchor) {
    return *std::find_if(kAnchors.begin(), kAnchors.end(),
                         [anchor](const AnchorEntry& entry) { return entry.anchor == anchor; });
}

std::int32_t SideShift(std::int32_t oldSize, std::int32_t newSize, std::int32_t side) {
    const std::int32_t grown = newSize - oldSize;
    return side == 0 ? 0 : side == 1 ? grown / 2 : grown;
}

// A place (the start, an enemy) moved with its cell, or unset when it names no cell of the
// old map or its cell falls off the new one. (x, z) is the corner the file writes for it; the
// texture object name stays with the place.
void MovePlace(map::CellRect& place, std::int32_t x, std::int32_t z, const MapGrid& before,
               const MapGrid& after, CellShift shift) {
    if (!before.InMap(x, z) || !after.InMap(x + shift.dx, z + shift.dz)) {
        place.Set(-1, -1, -1, -1);
        return;
    }
    place.Set(place.x0 + shift.dx, place.z0 + shift.dz, place.x1 + shift.dx, place.z1 + shift.dz);
}

std::int32_t HeldInside(std::int32_t value, std::int32_t size) {
    return std::clamp(value, 0, size - 1);
}

}  // namespace

std::string_view AnchorName(ResizeAnchor anchor) {
    return EntryOf(anchor).name;
}

std::optional<ResizeAnchor> AnchorNamed(std::string_view name) {
    const auto it = std::find_if(kAnchors.begin(), kAnchors.end(),
                                 [name](const AnchorEntry& entry) { return entry.name == name; });
    return it == kAnchors.end() ? std::nullopt : std::optional(it->anchor);
}

Status CheckMapSize(std::int32_t sizeX, std::int32_t sizeZ) {
    const auto outside = [](std::int32_t size) {
        return size < kMinMapSize || size > map::kMaxMapSize;
    };
    if (outside(sizeX) || outside(sizeZ)) {
        return Status::Failure("size " + std::to_string(sizeX) + "x" + std::to_string(sizeZ) +
                               " is outside " + std::to_string(kMinMapSize) + ".." +
                               std::to_string(map::kMaxMapSize) + " cells per side");
    }
    return Status::Ok();
}

CellShift ResizeShift(std::int32_t oldX, std::int32_t oldZ, std::int32_t newX, std::int32_t newZ,
                      ResizeAnchor anchor) {
    const AnchorEntry& entry = EntryOf(anchor);
    return {SideShift(oldX, newX, entry.sideX), SideShift(oldZ, newZ, entry.sideZ)};
}

void ResizeGrid(MapGrid& grid, std::int32_t sizeX, std::int32_t sizeZ, ResizeAnchor anchor) {
    // Grids are a few hundred kilobytes each: both copies live on the heap.
    const auto before = std::make_unique<MapGrid>(grid);
    const auto fresh = std::make_unique<MapGrid>(sizeX, sizeZ);
    const CellShift shift = ResizeShift(before->SizeX, before->SizeZ, sizeX, sizeZ, anchor);
    grid.cells = fresh->cells;
    grid.normals = fresh->normals;
    grid.SizeX = sizeX;
    grid.SizeZ = sizeZ;
    const std::int32_t oldX = std::clamp(before->SizeX, 0, map::kMaxMapSize);
    const std::int32_t oldZ = std::clamp(before->SizeZ, 0, map::kMaxMapSize);
    for (std::int32_t x = 0; x < oldX; ++x) {
        for (std::int32_t z = 0; z < oldZ; ++z) {
            if (grid.InMap(x + shift.dx, z + shift.dz)) {
                grid.cells[x + shift.dx][z + shift.dz] = before->cells[x][z];
                grid.normals[x + shift.dx][z + shift.dz] = before->normals[x][z];
            }
        }
    }
    MovePlace(grid.start, before->start.x1, before->start.z1, *before, grid, shift);
    for (map::EnemySlot& enemy : grid.enemies) {
        MovePlace(enemy, enemy.x0, enemy.z0, *before, grid, shift);
    }
}

Status ResizeMap(DocumentState& doc, MapSelection& selection, std::int32_t sizeX,
                 std::int32_t sizeZ, ResizeAnchor anchor) {
    if (Status checked = CheckMapSize(sizeX, sizeZ); !checked) {
        return checked;
    }
    const CellShift shift = ResizeShift(doc.mapGrid.SizeX, doc.mapGrid.SizeZ, sizeX, sizeZ, anchor);
    doc.undoGrid = doc.mapGrid;
    doc.undoGrid.hasContent = true;
    doc.undoGrid.wholeSnapshot = true;
    doc.mapGrid.hasContent = false;
    ResizeGrid(doc.mapGrid, sizeX, sizeZ, anchor);
    selection.Set(
        HeldInside(selection.x0 + shift.dx, sizeX), HeldInside(selection.z0 + shift.dz, sizeZ),
        HeldInside(selection.x1 + shift.dx, sizeX), HeldInside(selection.z1 + shift.dz, sizeZ));
    selection.undoSaved = false;
    return Status::Ok();
}

void RestoreWholeMap(DocumentState& doc) {
    MapGrid& map = doc.mapGrid;
    MapGrid& snapshot = doc.undoGrid;
    map.SizeX = snapshot.SizeX;
    map.SizeZ = snapshot.SizeZ;
    map.cells = snapshot.cells;
    map.normals = snapshot.normals;
    const map::CellRect& start = snapshot.start;
    map.start.Set(start.x0, start.z0, start.x1, start.z1);
    for (std::size_t k = 0; k < map.enemies.size(); ++k) {
        const map::EnemySlot& enemy = snapshot.enemies[k];
        map.enemies[k].Set(enemy.x0, enemy.z0, enemy.x1, enemy.z1);
    }
    map.hasContent = true;
    snapshot.hasContent = false;
    snapshot.wholeSnapshot = false;
}

}  // namespace zandrel::tools
