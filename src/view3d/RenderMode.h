#pragma once

#include <cstdint>

namespace zandrel::view3d {

// How a view draws the map and the enemy markers: lines only, or lit and textured faces. The
// values are the ones the view has always reported.
enum class RenderMode : std::int32_t {
    Wireframe = 1,
    Solid = 3,
};

}  // namespace zandrel::view3d
