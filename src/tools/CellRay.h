#pragma once

#include <array>
#include <cstdint>

#include "map/MapGrid.h"
#include "tools/Camera.h"

namespace zandrel::tools {

// A half-line in world space; the direction need not be normalised.
struct Ray {
    std::array<double, 3> origin{};
    std::array<double, 3> direction{};
};

// The perspective of the 3D view: vertical field of view in degrees.
inline constexpr double kViewFieldOfView = 55.0;

// The ray from the eye through point (px, py) of a view of width x height pixels (y from the
// top), with the view's perspective and camera. A view without area gives the line of sight.
Ray RayThroughPoint(const Camera& camera, double px, double py, std::int32_t width,
                    std::int32_t height, double fieldOfView = kViewFieldOfView);

// The cell whose terrain (its four triangles around the centre, as drawn) the ray meets first,
// named z * 100 + x, or -1. Answers where the pointer hovers without drawing anything; the
// selection itself keeps coming from the view's pick.
std::int32_t CellHitByRay(const map::MapGrid& grid, const Ray& ray);

// A point on the ground plane, x and z.
using GroundPoint = std::array<double, 2>;

// How far along the ground a view's outline reaches at most: rays above the horizon, or
// nearly level with the ground, end there.
inline constexpr double kFootprintReach = 150.0;

// The part of the plane y = groundY that a view of width x height pixels shows through camera:
// where the rays through its corners meet the plane, top left, top right, bottom right, bottom
// left. A corner ray that never comes down to the plane, or meets it farther than
// kFootprintReach from the eye along the ground, ends at that reach in its own direction.
std::array<GroundPoint, 4> ViewFootprint(const Camera& camera, std::int32_t width,
                                         std::int32_t height, double groundY);

}  // namespace zandrel::tools
