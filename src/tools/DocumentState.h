#pragma once

#include <cstdint>

#include "map/MapGrid.h"

namespace zandrel::tools {

// What one open map holds for editing: the map itself, the undo snapshot (available while its
// hasContent is set) and the enemy slot that the next enemy placement fills (0..3, cyclic).
struct DocumentState {
    map::MapGrid mapGrid;
    map::MapGrid undoGrid;
    std::int32_t nextEnemySlot = 0;
};

}  // namespace zandrel::tools
