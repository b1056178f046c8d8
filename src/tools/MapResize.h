#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "map/MapGrid.h"
#include "map/Status.h"
#include "tools/DocumentState.h"
#include "tools/MapSelection.h"
#include "tools/ResizeAnchor.h"

namespace zandrel::tools {

inline constexpr std::int32_t kMinMapSize = 1;

// The anchor's short name as a script writes it: "ne", "n", "no", "e", "c", "o", "se", "s",
// "so"; and the anchor a name stands for.
std::string_view AnchorName(ResizeAnchor anchor);
std::optional<ResizeAnchor> AnchorNamed(std::string_view name);

// Success when both sides are within kMinMapSize..kMaxMapSize; otherwise the reason.
Status CheckMapSize(std::int32_t sizeX, std::int32_t sizeZ);

// How far a kept cell moves along x and z when a map of oldX by oldZ becomes newX by newZ. A
// centred anchor moves by half the difference, rounded toward zero, so that a resize and back
// with the same anchor puts every kept cell back where it was.
struct CellShift {
    std::int32_t dx = 0;
    std::int32_t dz = 0;
};
CellShift ResizeShift(std::int32_t oldX, std::int32_t oldZ, std::int32_t newX, std::int32_t newZ,
                      ResizeAnchor anchor);

// The map at its new size: cells that stay keep every value (and their normals), new cells get
// a new map's defaults, and the start and enemies move with their cells; one that does not end
// on a cell of the new map (or was on none before) is unset. The texture table is unchanged.
// Sizes must have passed CheckMapSize.
void ResizeGrid(map::MapGrid& grid, std::int32_t sizeX, std::int32_t sizeZ, ResizeAnchor anchor);

// "Dimensioni mappa...": a snapshot of the whole map for undo, since moved cells cannot be put
// back from heights alone, then the resize. The selection moves with its cells, is held inside
// the new map and starts a new undo step. Refused sizes change nothing.
Status ResizeMap(DocumentState& doc, MapSelection& selection, std::int32_t sizeX,
                 std::int32_t sizeZ, ResizeAnchor anchor);

// Undo of a resize: sizes, every cell value, normals, start and enemies back from the whole-map
// snapshot; the texture table and the texture objects stay as they are now. Uses the snapshot up.
void RestoreWholeMap(DocumentState& doc);

}  // namespace zandrel::tools
