#include "tools/Camera.h"

#include <cmath>

namespace zandrel::tools {

void Camera::Set(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ,
                 float upX, float upY, float upZ) {
    eye = {eyeX, eyeY, eyeZ};
    target = {targetX, targetY, targetZ};
    up = {upX, upY, upZ};
}

void Camera::RotateView(float angle, float axisX, float axisY, float axisZ) {
    const float vx = target[0] - eye[0];
    const float vy = target[1] - eye[1];
    const float vz = target[2] - eye[2];
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;

    // Rodrigues' rotation matrix, kept in single precision like the stored vectors.
    const float rx = (c + t * axisX * axisX) * vx + (t * axisX * axisY - s * axisZ) * vy +
                     (t * axisX * axisZ + s * axisY) * vz;
    const float ry = (t * axisX * axisY + s * axisZ) * vx + (c + t * axisY * axisY) * vy +
                     (t * axisY * axisZ - s * axisX) * vz;
    const float rz = (t * axisX * axisZ - s * axisY) * vx + (t * axisY * axisZ + s * axisX) * vy +
                     (c + t * axisZ * axisZ) * vz;

    target = {eye[0] + rx, eye[1] + ry, eye[2] + rz};
}

}  // namespace zandrel::tools
