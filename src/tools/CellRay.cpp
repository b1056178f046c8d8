#include "tools/CellRay.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace zandrel::tools {

namespace {

using Vec3 = std::array<double, 3>;

Vec3 Sub(const Vec3& a, const Vec3& b) {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

double Dot(const Vec3& a, const Vec3& b) {
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec3 Normalised(const Vec3& v) {
    const double length = std::sqrt(Dot(v, v));
    return length > 0.0 ? Vec3{v[0] / length, v[1] / length, v[2] / length} : v;
}

Vec3 ToDouble(const Vec3f& v) {
    return {v[0], v[1], v[2]};
}

// Distance along the ray to triangle a, b, c (both faces), or infinity (Moller-Trumbore).
double HitDistance(const Ray& ray, const Vec3& a, const Vec3& b, const Vec3& c) {
    constexpr double kNone = std::numeric_limits<double>::infinity();
    const Vec3 ab = Sub(b, a);
    const Vec3 ac = Sub(c, a);
    const Vec3 p = Cross(ray.direction, ac);
    const double det = Dot(ab, p);
    if (std::abs(det) < 1e-12) {
        return kNone;
    }
    const Vec3 t = Sub(ray.origin, a);
    const double u = Dot(t, p) / det;
    if (u < 0.0 || u > 1.0) {
        return kNone;
    }
    const Vec3 q = Cross(t, ab);
    const double v = Dot(ray.direction, q) / det;
    if (v < 0.0 || u + v > 1.0) {
        return kNone;
    }
    const double distance = Dot(ac, q) / det;
    return distance > 0.0 ? distance : kNone;
}

}  // namespace

Ray RayThroughPoint(const Camera& camera, double px, double py, std::int32_t width,
                    std::int32_t height, double fieldOfView) {
    const Vec3 eye = ToDouble(camera.eye);
    const Vec3 forward = Normalised(Sub(ToDouble(camera.target), eye));
    const Vec3 right = Normalised(Cross(forward, ToDouble(camera.up)));
    const Vec3 up = Cross(right, forward);
    double sx = 0.0;
    double sy = 0.0;
    if (width > 0 && height > 0) {
        const double halfHeight = std::tan(fieldOfView * std::numbers::pi / 360.0);
        const double aspect = static_cast<double>(width) / height;
        sx = (2.0 * px / width - 1.0) * halfHeight * aspect;
        sy = (1.0 - 2.0 * py / height) * halfHeight;
    }
    Ray ray;
    ray.origin = eye;
    for (int i = 0; i < 3; ++i) {
        ray.direction[i] = forward[i] + sx * right[i] + sy * up[i];
    }
    return ray;
}

std::int32_t CellHitByRay(const map::MapGrid& grid, const Ray& ray) {
    double nearest = std::numeric_limits<double>::infinity();
    std::int32_t hit = -1;
    const std::int32_t sizeX = std::clamp(grid.SizeX, 0, map::kMaxMapSize);
    const std::int32_t sizeZ = std::clamp(grid.SizeZ, 0, map::kMaxMapSize);
    for (std::int32_t x = 0; x < sizeX; ++x) {
        for (std::int32_t z = 0; z < sizeZ; ++z) {
            const map::MapCell& cell = grid.Cell(x, z);
            const Vec3 ne{double(x), cell.NE, double(z)};
            const Vec3 no{x + 1.0, cell.NO, double(z)};
            const Vec3 se{double(x), cell.SE, z + 1.0};
            const Vec3 so{x + 1.0, cell.SO, z + 1.0};
            const Vec3 c{x + 0.5, cell.C, z + 0.5};
            const double distance =
                std::min({HitDistance(ray, ne, no, c), HitDistance(ray, se, so, c),
                          HitDistance(ray, ne, se, c), HitDistance(ray, no, so, c)});
            if (distance < nearest) {
                nearest = distance;
                hit = z * 100 + x;
            }
        }
    }
    return hit;
}

std::array<GroundPoint, 4> ViewFootprint(const Camera& camera, std::int32_t width,
                                         std::int32_t height, double groundY) {
    const std::array<std::array<double, 2>, 4> corners{
        {{0.0, 0.0}, {double(width), 0.0}, {double(width), double(height)}, {0.0, double(height)}}};
    std::array<GroundPoint, 4> outline{};
    for (std::size_t k = 0; k < corners.size(); ++k) {
        const Ray ray = RayThroughPoint(camera, corners[k][0], corners[k][1], width, height);
        const double dx = ray.direction[0];
        const double dz = ray.direction[2];
        const double along = std::sqrt(dx * dx + dz * dz);
        // Distance along the ground to the plane, or the reach for a ray that does not get there.
        double reach = kFootprintReach;
        if (ray.direction[1] < 0.0 && ray.origin[1] > groundY) {
            const double t = (groundY - ray.origin[1]) / ray.direction[1];
            reach = std::min(reach, t * along);
        }
        const double scale = along > 0.0 ? reach / along : 0.0;
        outline[k] = {ray.origin[0] + dx * scale, ray.origin[2] + dz * scale};
    }
    return outline;
}

}  // namespace zandrel::tools
