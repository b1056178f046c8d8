#pragma once

#include <array>
#include <cstdint>

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// What a frame's projection can show, for leaving parts of the map pass out of frames that look
// at part of the map. Cells are left out only when the box around everything they draw lies
// wholly beyond one plane of the view volume: clipping would discard all of it, so the image
// stays the same, and a zoomed-in view replays only what it shows.
class ViewVolume {
public:
    // worldToClip: the projection the map pass draws under with the identity model-view, in
    // column-major order as glGetDoublev gives it.
    explicit ViewVolume(const std::array<double, 16>& worldToClip) : worldToClip_(worldToClip) {}

    // False only when nothing cells x0 to x1 of row z draw (their tiles, their walls down to
    // the facing edges of their neighbours or to height 0, their grid and contour lines) can
    // reach the volume. A height that is not finite keeps the cells.
    bool MayShowCells(const map::MapGrid& grid, std::int32_t z, std::int32_t x0,
                      std::int32_t x1) const;

private:
    std::array<double, 16> worldToClip_;
};

}  // namespace zandrel::view3d
