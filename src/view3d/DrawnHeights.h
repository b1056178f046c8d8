#pragma once

#include <cstdint>

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// The vertical extent of what the map pass draws for cells: heights as they reach GL (through
// float), and whether all were finite. Tests that leave cells out of a pass need it: a box
// around the cells from low to high holds everything they draw.
struct DrawnHeights {
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    bool finite = true;

    void Add(double height);
    // Everything drawn under cell (x, z)'s name: its tile's five heights and the far edges its
    // walls reach down (or up) to, which are the facing corners of its four neighbours, or
    // height 0 at the map's border.
    void AddCell(const map::MapGrid& grid, std::int32_t x, std::int32_t z);
};

}  // namespace zandrel::view3d
