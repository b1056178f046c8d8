#pragma once

#include <cstdint>

#include "map/MapGrid.h"

namespace zandrel::tools {

// What the attribute panel reads from and writes to the cells of the map's stored selection
// (the copy the 3D view keeps in map.selection), and the sliders' ranges. Slider positions are
// the attribute values themselves, whole numbers stored as doubles.
inline constexpr std::int32_t kGravityMin = -160;
inline constexpr std::int32_t kGravityMax = 160;
inline constexpr std::int32_t kFrictionMin = 2;
inline constexpr std::int32_t kFrictionMax = 20;

// No common value. A common value that really is -1 reads the same, and the panel shows it as
// none; kept because the panel has always behaved so.
inline constexpr std::int32_t kNoCommonValue = -1;

// The gravity every selected cell shares, if it is a whole number; else kNoCommonValue.
std::int32_t CommonGravity(const map::MapGrid& map);
// The friction every selected cell shares, if it is a whole number; else kNoCommonValue.
std::int32_t CommonFriction(const map::MapGrid& map);
// The tile texture slot every selected cell shares, or kNoCommonValue.
std::int32_t CommonTileType(const map::MapGrid& map);
// The wall texture slot every selected cell shares, or kNoCommonValue.
std::int32_t CommonWallType(const map::MapGrid& map);

// "Applica": both slider positions into every selected cell.
void ApplyAttributes(map::MapGrid& map, std::int32_t gravity, std::int32_t friction);

// "Tile", "Wall", "Enemy": texture list entry `entry` (its position in the list, which is the
// texture slot) as the selected cells' tile or wall texture or as the enemies' texture. A
// negative entry is no current entry and changes nothing.
void ApplyTileTexture(map::MapGrid& map, std::int32_t entry);
void ApplyWallTexture(map::MapGrid& map, std::int32_t entry);
void ApplyEnemyTexture(map::MapGrid& map, std::int32_t entry);

}  // namespace zandrel::tools
