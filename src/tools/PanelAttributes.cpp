#include "tools/PanelAttributes.h"

#include <algorithm>

#include "tools/WholeNumber.h"

namespace zandrel::tools {

namespace {

using map::MapCell;
using map::MapGrid;

// The selection's cells that the storage holds. Before a view has stored a selection the
// corners are -1 and there are none.
struct StoredArea {
    std::int32_t firstX;
    std::int32_t lastX;
    std::int32_t firstZ;
    std::int32_t lastZ;
};

StoredArea AreaOf(const MapGrid& map) {
    const map::CellRect& area = map.selection;
    return {std::max(area.x0, 0), std::min(area.x1, map::kMaxMapSize - 1), std::max(area.z0, 0),
            std::min(area.z1, map::kMaxMapSize - 1)};
}

bool FirstCellStored(const MapGrid& map) {
    const map::CellRect& area = map.selection;
    return area.x0 >= 0 && area.z0 >= 0 && area.x0 < map::kMaxMapSize && area.z0 < map::kMaxMapSize;
}

template <typename Visit>
void ForSelectedCells(MapGrid& map, Visit visit) {
    const StoredArea area = AreaOf(map);
    for (std::int32_t x = area.firstX; x <= area.lastX; ++x) {
        for (std::int32_t z = area.firstZ; z <= area.lastZ; ++z) {
            visit(map.Cell(x, z));
        }
    }
}

template <typename Equal>
bool AllSelectedCells(const MapGrid& map, Equal equal) {
    const StoredArea area = AreaOf(map);
    for (std::int32_t x = area.firstX; x <= area.lastX; ++x) {
        for (std::int32_t z = area.firstZ; z <= area.lastZ; ++z) {
            if (!equal(map.Cell(x, z))) {
                return false;
            }
        }
    }
    return true;
}

// A double attribute shows only when it is a whole number shared by every cell: the first
// cell's value truncated must compare equal, as a double, with every cell's value.
template <typename Field>
std::int32_t CommonWholeNumber(const MapGrid& map, Field field) {
    if (map.selection.x0 == -1 || !FirstCellStored(map)) {
        return kNoCommonValue;
    }
    const std::int32_t v = TruncateToInt32(field(map.Cell(map.selection.x0, map.selection.z0)));
    const double asDouble = v;
    return AllSelectedCells(map, [&](const MapCell& cell) { return field(cell) == asDouble; })
               ? v
               : kNoCommonValue;
}

template <typename Field>
std::int32_t CommonSlot(const MapGrid& map, Field field) {
    if (map.selection.x0 == -1 || !FirstCellStored(map)) {
        return kNoCommonValue;
    }
    const std::int32_t v = field(map.Cell(map.selection.x0, map.selection.z0));
    return AllSelectedCells(map, [&](const MapCell& cell) { return field(cell) == v; })
               ? v
               : kNoCommonValue;
}

}  // namespace

std::int32_t CommonGravity(const MapGrid& map) {
    return CommonWholeNumber(map, [](const MapCell& cell) { return cell.grav; });
}

std::int32_t CommonFriction(const MapGrid& map) {
    return CommonWholeNumber(map, [](const MapCell& cell) { return cell.artr; });
}

std::int32_t CommonTileType(const MapGrid& map) {
    return CommonSlot(map, [](const MapCell& cell) { return cell.typet; });
}

std::int32_t CommonWallType(const MapGrid& map) {
    return CommonSlot(map, [](const MapCell& cell) { return cell.typew; });
}

void ApplyAttributes(MapGrid& map, std::int32_t gravity, std::int32_t friction) {
    ForSelectedCells(map, [&](MapCell& cell) {
        cell.artr = friction;
        cell.grav = gravity;
    });
}

void ApplyTileTexture(MapGrid& map, std::int32_t entry) {
    if (entry < 0) {
        return;
    }
    ForSelectedCells(map, [entry](MapCell& cell) { cell.typet = entry; });
}

void ApplyWallTexture(MapGrid& map, std::int32_t entry) {
    if (entry < 0) {
        return;
    }
    ForSelectedCells(map, [entry](MapCell& cell) { cell.typew = entry; });
}

void ApplyEnemyTexture(MapGrid& map, std::int32_t entry) {
    if (entry >= 0) {
        map.Enemys_Tex = entry;
    }
}

}  // namespace zandrel::tools
