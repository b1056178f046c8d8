#pragma once

#include <array>
#include <cstdint>

#include "view3d/MapPicker.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// The few pixels around a pick point, and a conservative test of whether a cell's tile or walls
// can reach them: a cell whose projected bounding box misses the square cannot leave a hit, so
// the selection pass may skip it without changing what it reports.
class PickWindow {
public:
    // x, y as MapPicker::Pick takes them: GL window coordinates, y counted from the top.
    PickWindow(const FrameTransform& frame, double x, double y, double region);

    // False only when nothing the map pass draws under cell (x, z)'s name can fall inside the
    // square; a box reaching behind the eye, or a height that is not finite, keeps the cell.
    bool MayHit(const map::MapGrid& grid, std::int32_t x, std::int32_t z) const;

private:
    std::array<double, 16> projection_{};
    std::array<double, 4> viewport_{};
    double left_ = 0.0;
    double right_ = 0.0;
    double bottom_ = 0.0;
    double top_ = 0.0;
    bool usable_ = false;
};

}  // namespace zandrel::view3d
