#pragma once

#include <array>

namespace zandrel::tools {

using Vec3f = std::array<float, 3>;

// A look-at camera. The defaults are where a new 3D view starts: high above the north-east
// corner of a 50 x 50 map, looking at its middle.
struct Camera {
    Vec3f eye{-20.0f, 70.0f, -20.0f};
    Vec3f target{25.0f, 0.0f, 25.0f};
    Vec3f up{0.0f, 1.0f, 0.0f};

    void Set(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ,
             float upX, float upY, float upZ);

    // Turns the line of sight by angle radians about the axis through the eye; the eye, the
    // up vector and the distance to the target stay. The axis is used as given, not
    // normalised, so only unit axes give a pure rotation.
    void RotateView(float angle, float axisX, float axisY, float axisZ);
};

}  // namespace zandrel::tools
