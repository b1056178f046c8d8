#pragma once

#include <cstdint>

#include "tools/ColourRamp.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// What a tile's texture is tinted by, if anything. (Not "None": X11 defines that.)
enum class TintMode : std::uint8_t { Off, Height, Gravity, Friction };

// The extra ways a view can show the solid map, all off by default: off, the map pass draws
// exactly what it always drew. Wireframe ignores them.
struct ViewModes {
    bool relief = false;    // one light from above and behind the camera
    bool grid = false;      // lines along the cell edges
    bool contours = false;  // lines at every whole height
    TintMode tint = TintMode::Off;

    bool operator==(const ViewModes&) const = default;
};

// What the map pass reads of the modes: the switches and the tint's range over the whole map,
// so that one changed cell can recolour every row.
struct PassStyle {
    ViewModes modes;
    tools::ValueRange tintRange;

    bool operator==(const PassStyle&) const = default;
    // The style for drawing grid with modes: the tint's range is measured on grid.
    static PassStyle For(const map::MapGrid& grid, const ViewModes& modes);
};

}  // namespace zandrel::view3d
