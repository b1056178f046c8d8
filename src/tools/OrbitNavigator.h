#pragma once

#include <cstdint>

#include "tools/Camera.h"
#include "tools/OrbitState.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::tools {

// A mouse position in client pixels, y counted from the top.
struct MousePoint {
    std::int32_t x = 0;
    std::int32_t y = 0;

    bool operator==(const MousePoint&) const = default;
};

// The view's camera and the orbit that mouse drags steer. Drags only record a request
// (orbitRequest); FollowOrbit applies it step by step while keeping the eye above the terrain
// and the looked-at point in sight.
class OrbitNavigator {
public:
    static constexpr std::int32_t kRotate = 1;
    static constexpr std::int32_t kZoom = 2;
    static constexpr double kMinPitch = 0.1;
    static constexpr double kMaxPitch = 1.4707963267948965;  // a tenth short of horizontal

    Camera camera;
    OrbitState orbit;
    OrbitState orbitRequest;
    // Ground point a zoom drag orbits about.
    float focusX = 25.5f;
    float focusZ = 25.5f;
    MousePoint lastPoint;
    MousePoint prevPoint;

    // Records the move to (x, y) and turns it into a request: kind kRotate changes pitch and
    // yaw, kZoom radius and yaw, in proportion to the move over the view's size. Any other kind
    // only records the point. A zero-sized view changes nothing along that axis.
    void DragOrbit(std::int32_t x, std::int32_t y, std::int32_t kind, std::int32_t viewWidth,
                   std::int32_t viewHeight);

    // One step toward the requested orbit around (cx, cz): the eye moves halfway to its orbit
    // position about the old target and the target halfway to the focus, its height snapped
    // to the ground there.
    void FollowOrbit(const map::MapGrid& map, float cx, float cz);

    // The focus becomes the centre of the middle cell of an inclusive cell block.
    void FocusOn(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1);
};

}  // namespace zandrel::tools
