#include "cli/MapSummary.h"

#include <algorithm>
#include <string>

#include "mapfile/NumberText.h"

namespace zandrel::cli {

namespace {

std::string DescribeCell(const map::MapGrid& grid, const map::CellRect& where) {
    if (where.IsUnset()) {
        return "not placed";
    }
    std::string text = std::to_string(where.x0) + ", " + std::to_string(where.z0);
    if (!grid.InMap(where.x0, where.z0)) {
        text += " (outside the map)";
    }
    return text;
}

}  // namespace

void WriteMapSummary(std::ostream& out, const map::MapGrid& grid) {
    out << "size: " << grid.SizeX << " x " << grid.SizeZ << '\n';
    out << "texture slots: " << grid.numtex << '\n';
    for (std::int32_t i = 0; i < grid.numtex; ++i) {
        out << "  " << i << ": " << grid.textures[i].View() << '\n';
    }
    out << "enemy texture slot: " << grid.Enemys_Tex;
    if (grid.Enemys_Tex >= 0 && grid.Enemys_Tex < grid.numtex) {
        out << " (" << grid.textures[grid.Enemys_Tex].View() << ")";
    } else {
        out << " (not a slot of this map)";
    }
    out << '\n';
    out << "start: " << DescribeCell(grid, grid.start) << '\n';
    for (std::int32_t k = 0; k < map::kEnemySlotCount; ++k) {
        out << "enemy " << k << ": " << DescribeCell(grid, grid.enemies[k]) << '\n';
    }

    bool anyCell = false;
    double lowest = 0.0;
    double highest = 0.0;
    int goals = 0;
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            const map::MapCell& cell = grid.cells[x][z];
            const auto [low, high] = std::minmax({cell.NE, cell.NO, cell.SE, cell.SO, cell.C});
            lowest = anyCell ? std::min(lowest, low) : low;
            highest = anyCell ? std::max(highest, high) : high;
            anyCell = true;
            goals += cell.goal != 0 ? 1 : 0;
        }
    }
    if (anyCell) {
        out << "heights: " << mapfile::FixedText(lowest) << " to " << mapfile::FixedText(highest)
            << '\n';
    } else {
        out << "heights: no cells\n";
    }
    out << "goal cells: " << goals << '\n';
}

}  // namespace zandrel::cli
