#include "tools/Placement.h"

#include <algorithm>

namespace zandrel::tools {

void ToggleGoal(map::MapGrid& map) {
    const map::CellRect& area = map.selection;
    // Only cells the storage holds; an unset selection (before the first draw) holds none.
    const std::int32_t firstX = std::max(area.x0, 0);
    const std::int32_t lastX = std::min(area.x1, map::kMaxMapSize - 1);
    const std::int32_t firstZ = std::max(area.z0, 0);
    const std::int32_t lastZ = std::min(area.z1, map::kMaxMapSize - 1);
    for (std::int32_t x = firstX; x <= lastX; ++x) {
        for (std::int32_t z = firstZ; z <= lastZ; ++z) {
            std::int32_t& goal = map.Cell(x, z).goal;
            goal = goal == 0 ? 1 : 0;
        }
    }
}

void PlaceStart(map::MapGrid& map, const MapSelection& selection) {
    map.start.Set(selection.x0, selection.z0, selection.x0, selection.z0);
}

void PlaceEnemy(map::MapGrid& map, std::int32_t& nextEnemySlot, const MapSelection& selection) {
    // A slot number from elsewhere than this cycle starts it again at slot 0.
    const std::int32_t slot =
        nextEnemySlot >= 0 && nextEnemySlot < map::kEnemySlotCount ? nextEnemySlot : 0;
    map.enemies[slot].Set(selection.x0, selection.z0, selection.x0, selection.z0);
    nextEnemySlot = slot + 1 == map::kEnemySlotCount ? 0 : slot + 1;
}

}  // namespace zandrel::tools
