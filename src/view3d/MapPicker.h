#pragma once

#include <array>
#include <cstdint>

#include "view3d/RenderMode.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// What a frame left for picking: the viewport and the projection (perspective times camera)
// in force when it was drawn. The model-view matrix of the map pass is the identity.
struct FrameTransform {
    std::array<std::int32_t, 4> viewport{0, 0, 0, 0};
    std::array<double, 16> projection{};
    bool valid = false;
};

// Finds the tile or wall nearest to the eye around a point by re-running the map pass in
// GL_SELECT mode. Needs the view's context current.
class MapPicker {
public:
    static constexpr std::size_t SELECT_BUFFER_SIZE = 16384;
    static constexpr double PICK_REGION = 7.0;

    // x, y: GL window coordinates in device pixels, y counted from the top. Returns the cell
    // name of the nearest hit, the smaller name among equally near ones, or -1 for none (also
    // when the hits overflow the buffer or the frame is not valid).
    std::int32_t Pick(const map::MapGrid& grid, double x, double y, RenderMode renderMode,
                      const FrameTransform& frame);

    // With culling off every cell is replayed; the result is the same either way, only slower.
    void SetCellCulling(bool on) { cellCulling_ = on; }

private:
    bool cellCulling_ = true;
    std::array<std::uint32_t, SELECT_BUFFER_SIZE> buffer_{};
};

}  // namespace zandrel::view3d
