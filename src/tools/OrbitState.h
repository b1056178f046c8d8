#pragma once

#include <array>
#include <cmath>

namespace zandrel::tools {

// Where the orbiting eye should be relative to the point it looks at.
struct OrbitState {
    double radius = 60.0;
    double yaw = -2.3;   // radians about the vertical axis
    double pitch = 1.0;  // radians down from straight overhead

    // Unit vector from the looked-at point toward the eye.
    static std::array<double, 3> Direction(double yaw, double pitch) {
        return {std::sin(yaw) * std::sin(pitch), std::cos(pitch), std::cos(yaw) * std::sin(pitch)};
    }

    bool operator==(const OrbitState&) const = default;
};

}  // namespace zandrel::tools
