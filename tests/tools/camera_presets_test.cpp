#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>

#include "map/MapGrid.h"
#include "tools/CameraPresets.h"

namespace zandrel::tools {
namespace {

constexpr double kFov = 55.0;

// Where point p lands through camera with the given aspect, in normalised device coordinates
// (-1..1 inside the frame), as gluLookAt and gluPerspective place it.
std::array<double, 2> Project(const Camera& camera, double aspect, std::array<double, 3> p) {
    using V = std::array<double, 3>;
    const auto dot = [](const V& a, const V& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
    const auto cross = [](const V& a, const V& b) {
        return V{a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    };
    V f{}, d{};
    for (int i = 0; i < 3; ++i) {
        f[i] = camera.target[i] - camera.eye[i];
        d[i] = p[i] - camera.eye[i];
    }
    const V s = cross(f, {camera.up[0], camera.up[1], camera.up[2]});
    const V u = cross(s, f);
    // Each axis's coordinate over the depth, the axes left unnormalised and divided out here.
    const double depth = dot(d, f) / std::sqrt(dot(f, f));
    const double t = std::tan(kFov * std::numbers::pi / 360.0);
    return {dot(d, s) / std::sqrt(dot(s, s)) / depth / (t * aspect),
            dot(d, u) / std::sqrt(dot(u, u)) / depth / t};
}

std::unique_ptr<map::MapGrid> Hill(std::int32_t sizeX, std::int32_t sizeZ, double peak) {
    auto grid = std::make_unique<map::MapGrid>(sizeX, sizeZ);
    grid->Cell(sizeX / 2, sizeZ / 2).C = peak;
    return grid;
}

// Every corner of the map, at its lowest and highest ground, is inside the frame, and the
// frame is not mostly empty: some corner comes near its edge.
TEST(PresetCamera, WholeMapFitsTheFrame) {
    const struct {
        CameraPreset preset;
        std::int32_t sizeX, sizeZ;
        double peak, aspect;
    } cases[] = {{CameraPreset::Top, 50, 50, 0.0, 1.0},  {CameraPreset::Top, 50, 10, 5.0, 1.0},
                 {CameraPreset::Top, 10, 50, 5.0, 2.0},  {CameraPreset::Iso, 50, 50, 0.0, 1.0},
                 {CameraPreset::Iso, 50, 50, 40.0, 1.0}, {CameraPreset::Iso, 3, 40, -10.0, 0.5}};
    for (const auto& c : cases) {
        const Camera camera =
            PresetCamera(*Hill(c.sizeX, c.sizeZ, c.peak), c.preset, c.aspect, kFov);
        double reach = 0.0;
        for (const double x : {0.0, static_cast<double>(c.sizeX)}) {
            for (const double z : {0.0, static_cast<double>(c.sizeZ)}) {
                for (const double y : {0.0, c.peak}) {
                    const auto ndc = Project(camera, c.aspect, {x, y, z});
                    EXPECT_LE(std::max(std::abs(ndc[0]), std::abs(ndc[1])), 1.0)
                        << c.sizeX << 'x' << c.sizeZ << ": " << x << ' ' << y << ' ' << z;
                    reach = std::max({reach, std::abs(ndc[0]), std::abs(ndc[1])});
                }
            }
        }
        EXPECT_GT(reach, 0.5) << c.sizeX << 'x' << c.sizeZ;
    }
}

// The preset names are lower case; start is the new view's camera, whatever the map.
TEST(PresetCamera, TopLooksStraightDownWithZDownThePicture) {
    const auto grid = Hill(20, 30, 4.0);
    const Camera camera = PresetCamera(*grid, *CameraPresetNamed("top"), 1.0, kFov);
    EXPECT_EQ(camera.eye[0], 10.0f);
    EXPECT_EQ(camera.eye[2], 15.0f);
    EXPECT_EQ(camera.target[0], 10.0f);
    EXPECT_EQ(camera.target[2], 15.0f);
    EXPECT_GT(camera.eye[1], 4.0f);
    // Row z = 0 at the top of the picture, x growing to the right.
    EXPECT_GT(Project(camera, 1.0, {10.0, 0.0, 0.0})[1], 0.0);
    EXPECT_GT(Project(camera, 1.0, {20.0, 0.0, 15.0})[0], 0.0);
    EXPECT_EQ(PresetCamera(*grid, *CameraPresetNamed("start"), 2.0, kFov).eye, Camera{}.eye);
    EXPECT_EQ(CameraPresetNamed("iso"), CameraPreset::Iso);
    EXPECT_FALSE(CameraPresetNamed("Top"));
}

// Heights that are not finite are left out of the framing; an empty map still gives a usable
// camera.
TEST(PresetCamera, BrokenOrEmptyMapsStillFrameSensibly) {
    const auto plain = Hill(8, 8, 2.0);
    auto broken = Hill(8, 8, 2.0);
    broken->Cell(1, 1).NE = std::numeric_limits<double>::infinity();
    broken->Cell(2, 2).C = std::numeric_limits<double>::quiet_NaN();
    const map::MapGrid empty(0, 0);
    for (const CameraPreset preset : {CameraPreset::Top, CameraPreset::Iso}) {
        const Camera a = PresetCamera(*plain, preset, 1.0, kFov);
        const Camera b = PresetCamera(*broken, preset, 1.0, kFov);
        EXPECT_EQ(a.eye, b.eye);
        EXPECT_EQ(a.target, b.target);
        const Camera camera = PresetCamera(empty, preset, 1.0, kFov);
        EXPECT_NE(camera.eye, camera.target);
        EXPECT_TRUE(std::ranges::all_of(camera.eye, [](float c) { return std::isfinite(c); }));
    }
}

}  // namespace
}  // namespace zandrel::tools
