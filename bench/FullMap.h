#pragma once

#include <memory>

#include "map/MapGrid.h"

namespace zandrel::bench {

// A full map with varied heights, so numbers are not all "0.000000": the size a level designer
// saves and opens.
inline std::unique_ptr<map::MapGrid> FullMap() {
    auto grid = std::make_unique<map::MapGrid>(50, 50);
    for (int x = 0; x < 50; ++x) {
        for (int z = 0; z < 50; ++z) {
            grid->RaiseCell(x, z, (x * 37 + z * 11) % 97 * 0.173);
        }
    }
    return grid;
}

}  // namespace zandrel::bench
