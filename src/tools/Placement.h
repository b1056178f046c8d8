#pragma once

#include <cstdint>

#include "map/MapGrid.h"
#include "tools/MapSelection.h"

namespace zandrel::tools {

// "Area Goal": toggles the goal flag of every cell of the map's stored selection (the one last
// drawn). Any value other than 0, such as a 2 read from a file, toggles to 0. No undo step.
void ToggleGoal(map::MapGrid& map);

// Moves the start to the selection's first cell.
void PlaceStart(map::MapGrid& map, const MapSelection& selection);

// Puts an enemy on the selection's first cell in slot nextEnemySlot and advances that slot
// cyclically 0, 1, 2, 3, 0, so the fifth enemy replaces the first.
void PlaceEnemy(map::MapGrid& map, std::int32_t& nextEnemySlot, const MapSelection& selection);

}  // namespace zandrel::tools
