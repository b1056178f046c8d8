#pragma once

#include <cstdint>

#include "view3d/ViewModes.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::tools {
struct Camera;
}

namespace zandrel::view3d {

// What the view modes add around and over the solid map pass: the light of relief, and the grid
// and contour lines drawn over the terrain.
class MapOverlays {
public:
    // Sets the state the solid pass draws under for modes: relief's light, from above and behind
    // the camera, and a depth offset on the faces so that lines lying on them win. Call with the
    // model-view matrix the pass draws with (the identity). Issues no GL call when relief, grid
    // and contours are all off; otherwise End must follow the pass.
    static void Begin(const ViewModes& modes, const tools::Camera& camera);
    static void End(const ViewModes& modes);

    // Row z's grid lines (every cell's edges; a shared edge drawn once unless its two sides part
    // at a wall) and its contour lines, untextured and unlit, blended over what is drawn.
    static void DrawRowLines(const map::MapGrid& grid, std::int32_t z, const ViewModes& modes);

    // Whether Begin changes any state.
    static bool ChangesState(const ViewModes& modes) {
        return modes.relief || modes.grid || modes.contours;
    }
};

}  // namespace zandrel::view3d
