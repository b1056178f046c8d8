#pragma once

#include <optional>
#include <string_view>

#include "tools/Camera.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::tools {

// Where a picture of a whole map is taken from.
enum class CameraPreset {
    Start,  // where a new 3D view starts
    Top,    // straight down at the map, x to the right and z downwards, framed to fit
    Iso,    // from above the corner at the origin, along the diagonal, framed to fit
};

// The preset a name (start, top, iso) stands for; none for any other name.
std::optional<CameraPreset> CameraPresetNamed(std::string_view name);

// The camera of preset for grid seen through a perspective of vertical field fovDegrees and
// aspect width / height. Heights that are not finite are left out of the framing.
Camera PresetCamera(const map::MapGrid& grid, CameraPreset preset, double aspect,
                    double fovDegrees);

}  // namespace zandrel::tools
