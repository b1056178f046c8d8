#pragma once

#include <array>
#include <cstdint>

#include "map/CellRect.h"
#include "map/MapCell.h"
#include "map/TextureName.h"

namespace zandrel::map {

inline constexpr std::int32_t kMaxMapSize = 50;  // cells along x and along z
inline constexpr std::int32_t kMaxTextureSlots = 50;
inline constexpr std::int32_t kEnemySlotCount = 4;

// Face normals of one cell's four triangles, (x, y, z) each, not normalised.
using CellNormals = std::array<std::array<float, 3>, 4>;

// The whole content of one map as one flat value: no member is allocated separately, so grids
// are copied by assignment and the editing path never allocates. The document keeps the edited
// map and its undo snapshot as two grids and the application keeps a third as the clipboard.
//
// Only cells with x < SizeX and z < SizeZ and texture slots below numtex are in use; the rest
// keep whatever they held and are never written or drawn.
class MapGrid {
public:
    // Every rectangle unset, hasContent false, every cell zero, every slot empty.
    MapGrid();
    // A fresh map: flat cells with the default textures, gravity and friction; no start, no
    // enemies; normals computed; hasContent true.
    MapGrid(std::int32_t sizeX, std::int32_t sizeZ);

    MapCell& Cell(std::int32_t x, std::int32_t z) { return cells[x][z]; }
    const MapCell& Cell(std::int32_t x, std::int32_t z) const { return cells[x][z]; }
    // True when (x, z) names a cell of the block in use.
    bool InMap(std::int32_t x, std::int32_t z) const {
        return x >= 0 && z >= 0 && x < SizeX && z < SizeZ;
    }

    void RaiseCell(std::int32_t x, std::int32_t z, double dh);
    void SetCellHeight(std::int32_t x, std::int32_t z, double h);
    void SetSelection(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1);
    void ComputeNormals();

    // Height snapshot for undo: copies the five heights of every cell in use into target, and
    // this grid's size; target's other cell values stay. Marks target as holding content (of
    // heights only) and this grid as not, so calling it on the snapshot with the map as target
    // is the undo.
    void SaveTo(MapGrid& target);

    // True when a save would write the same bytes for both: sizes, texture table, cells in use,
    // start and enemies. Heights compare bit for bit, so a NaN read from a file equals itself.
    bool SameContent(const MapGrid& other) const;

    CellRect start;
    // The view's selection as last stored before a draw; paste also writes its far corner.
    CellRect selection;
    // The clipboard holds a region / an undo snapshot is present.
    bool hasContent = false;
    // This undo snapshot holds the whole map, not only its heights, because the edit it undoes
    // (a resize) moved cells: undo then puts back every cell value, the sizes, start and
    // enemies. A height snapshot clears it.
    bool wholeSnapshot = false;
    // Kept as read from a file: a slot whose cell lies outside the map counts as not placed.
    std::array<EnemySlot, kEnemySlotCount> enemies;
    std::array<std::array<MapCell, kMaxMapSize>, kMaxMapSize> cells;  // [x][z]
    // Texture object names of slots 0..numtex-1, owned by the 3D view.
    std::array<std::uint32_t, kMaxTextureSlots> textureIds;
    std::array<std::array<CellNormals, kMaxMapSize>, kMaxMapSize> normals;  // [x][z]
    std::array<TextureName, kMaxTextureSlots> textures;
    // Slot of the enemies' texture, kept as read: outside 0..49 means texture 0.
    std::int32_t Enemys_Tex = 0;
    std::int32_t numtex = 0;
    std::int32_t SizeX = 0;
    std::int32_t SizeZ = 0;
    // Receives the wall texture object; its rectangle is never set.
    CellRect wallArea;
};

}  // namespace zandrel::map
