#include "tools/OrbitNavigator.h"

#include "map/MapGrid.h"
#include "tools/HeightSampling.h"

namespace zandrel::tools {

namespace {

// Candidate eye for a pitch: halfway between the current eye and the orbit position about the
// current target.
Vec3f HalfwayEye(const Camera& camera, double radius, double yaw, double pitch) {
    const auto d = OrbitState::Direction(yaw, pitch);
    Vec3f result{};
    for (int i = 0; i < 3; ++i) {
        result[i] = static_cast<float>((camera.eye[i] + camera.target[i] + radius * d[i]) * 0.5);
    }
    return result;
}

}  // namespace

void OrbitNavigator::DragOrbit(std::int32_t x, std::int32_t y, std::int32_t kind,
                               std::int32_t viewWidth, std::int32_t viewHeight) {
    prevPoint = lastPoint;
    lastPoint = {x, y};
    const double dx = lastPoint.x - prevPoint.x;
    const double dy = prevPoint.y - lastPoint.y;  // positive when the mouse moved up
    // A view of zero size (minimised) would turn the request into inf or NaN for good.
    const double fracX = viewWidth != 0 ? dx / viewWidth : 0.0;
    const double fracY = viewHeight != 0 ? dy / viewHeight : 0.0;

    if (kind == kRotate) {
        orbitRequest.pitch -= 5.0 * fracY;
        orbitRequest.yaw += 5.0 * fracX;
        if (orbitRequest.pitch <= kMinPitch) {
            orbitRequest.pitch = kMinPitch;
        }
        if (orbitRequest.pitch >= kMaxPitch) {
            orbitRequest.pitch = kMaxPitch;
        }
        if (orbit.radius <= 1.0) {
            orbit.radius = 1.0;
        }
    } else if (kind == kZoom) {
        orbitRequest.radius += 50.0 * fracY;
        orbitRequest.yaw += 5.0 * fracX;
        if (orbitRequest.radius <= 1.0) {
            orbitRequest.radius = 1.0;
        }
    }
}

void OrbitNavigator::FollowOrbit(const map::MapGrid& map, float cx, float cz) {
    const float lookX = cx;
    const float lookY = static_cast<float>(sampleHeight(map, cx, cz) + 1.0);
    const float lookZ = cz;
    const auto inSight = [&](double pitch) {
        const Vec3f e = HalfwayEye(camera, orbit.radius, orbit.yaw, pitch);
        return lineOfSightClear(map, e[0], e[1], e[2], lookX, lookY, lookZ);
    };

    // Climb toward overhead while the terrain hides the looked-at point.
    if (!inSight(orbit.pitch)) {
        orbit.pitch -= 0.1;
        if (orbit.pitch < kMinPitch) {
            orbit.pitch = kMinPitch;
        }
    }
    if (inSight(orbitRequest.pitch)) {
        orbit.pitch = orbitRequest.pitch;
    }
    orbit.radius = orbitRequest.radius;
    if (orbit.radius < 1.5) {
        orbit.radius = 1.5;
    }
    orbit.yaw = orbitRequest.yaw;
    // Draw in while the eye is less than a unit above the ground under it.
    if (sampleHeight(map, camera.eye[0], camera.eye[2]) + 1.0 > camera.eye[1] &&
        orbit.radius >= 2.5) {
        orbit.radius -= 1.0;
    }

    const Vec3f eye = HalfwayEye(camera, orbit.radius, orbit.yaw, orbit.pitch);
    const float targetX = static_cast<float>((cx + camera.target[0]) * 0.5);
    const float targetY = static_cast<float>(sampleHeight(map, cx, cz));
    const float targetZ = static_cast<float>((cz + camera.target[2]) * 0.5);
    camera.Set(eye[0], eye[1], eye[2], targetX, targetY, targetZ, 0.0f, 1.0f, 0.0f);
}

void OrbitNavigator::FocusOn(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1) {
    // Integer halving toward zero, then the cell's centre.
    focusX = static_cast<float>((x0 + x1) / 2 + 0.5);
    focusZ = static_cast<float>((z0 + z1) / 2 + 0.5);
}

}  // namespace zandrel::tools
