#pragma once

#include <string>

#include "map/MapGrid.h"

namespace zandrel::bench {

// The benchmarks' maps, by name:
// - "block" (the default): a new map with a bumpy 10 x 10 block, so that some walls stand;
// - "walls": every cell at its own height, so walls stand on every cell;
// - "walls1": as "walls", with the walls in the tiles' texture, so that the pass binds one
//   texture for the whole map;
// - "varied": as "walls", with tiles in two textures and walls in three, changing every few
//   cells, so that the pass binds a different texture for nearly every tile and wall.
// The slots name the demo textures of the assets folder.
inline void ShapeBenchMap(map::MapGrid& grid, const std::string& kind) {
    if (kind == "block") {
        for (int x = 20; x < 30; ++x) {
            for (int z = 20; z < 30; ++z) {
                grid.SetCellHeight(x, z, (x + z) % 3);
            }
        }
        return;
    }
    const char* const names[] = {"tile.jpg",  "wall.jpg", "enemy.jpg",
                                 "grass.jpg", "rock.jpg", "sand.jpg"};
    grid.numtex = 6;
    for (int slot = 0; slot < grid.numtex; ++slot) {
        grid.textures[static_cast<std::size_t>(slot)].Assign(names[slot]);
    }
    for (int x = 0; x < 50; ++x) {
        for (int z = 0; z < 50; ++z) {
            grid.SetCellHeight(x, z, (x * 37 + z * 11) % 97 * 0.05);
            if (kind == "walls1") {
                grid.Cell(x, z).typew = 0;
            } else if (kind == "varied") {
                map::MapCell& cell = grid.Cell(x, z);
                cell.typet = (x / 7 + z / 5) % 2 == 0 ? 0 : 3;
                cell.typew = (x / 9 + z / 6) % 2 == 0 ? 1 : 4 + (x + z) % 2;
            }
        }
    }
}

}  // namespace zandrel::bench
