#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <tuple>
#include <utility>

#include "map/MapGrid.h"
#include "support/TerrainFixture.h"
#include "tools/Camera.h"
#include "tools/CameraPresets.h"
#include "tools/CellRay.h"
#include "tools/MapSelection.h"
#include "tools/OrbitNavigator.h"
#include "tools/OrbitState.h"

namespace zandrel::tools {
namespace {

// Ten steps of 0.1 about the vertical turn one radian, from +z toward +x, keeping the eye and
// the distance.
TEST(RotateView, TurnsAboutTheEye) {
    Camera camera;
    camera.Set(3.0f, 5.0f, 1.0f, 3.0f, 2.0f, 11.0f, 0.0f, 1.0f, 0.0f);
    for (int i = 0; i < 10; ++i) {
        camera.RotateView(0.1f, 0.0f, 1.0f, 0.0f);
    }
    EXPECT_EQ(camera.eye, (Vec3f{3.0f, 5.0f, 1.0f}));
    const double angle = std::atan2(camera.target[0] - 3.0, camera.target[2] - 1.0);
    EXPECT_NEAR(angle, 1.0, 1e-5);
    EXPECT_NEAR(std::hypot(camera.target[0] - 3.0, camera.target[1] - 5.0, camera.target[2] - 1.0),
                std::hypot(3.0, 10.0), 1e-4);
}

// One drag from (50, 50) on a fresh navigator: rotate moves pitch and yaw by five times the
// view fraction, zoom the radius by fifty times, both stopping at their limits; a view of no
// size or an unknown kind requests nothing.
TEST(DragOrbit, RequestsInProportionToTheViewWithinLimits) {
    const OrbitState fresh;
    const struct {
        std::int32_t kind, x, y, width, height;
        OrbitState request;
    } cases[] = {
        {OrbitNavigator::kRotate, 70, 40, 400, 200, {60.0, -2.3 + 0.25, 1.0 - 0.25}},
        {OrbitNavigator::kRotate, 50, -1000, 300, 300, {60.0, -2.3, 0.1}},
        {OrbitNavigator::kRotate, 50, 1000, 300, 300, {60.0, -2.3, 1.4707963267948965}},
        {OrbitNavigator::kZoom, 70, 40, 400, 100, {65.0, -2.3 + 0.25, 1.0}},
        {OrbitNavigator::kZoom, 50, 1000, 100, 100, {1.0, -2.3, 1.0}},
        {OrbitNavigator::kRotate, 70, 40, 0, 0, fresh},
        {3, 70, 40, 100, 100, fresh},
    };
    for (const auto& c : cases) {
        OrbitNavigator nav;
        nav.orbit.radius = 0.5;
        nav.lastPoint = {50, 50};
        nav.DragOrbit(c.x, c.y, c.kind, c.width, c.height);
        EXPECT_EQ(nav.prevPoint, (MousePoint{50, 50}));
        EXPECT_EQ(nav.lastPoint, (MousePoint{c.x, c.y}));
        EXPECT_DOUBLE_EQ(nav.orbitRequest.radius, c.request.radius) << c.kind << ' ' << c.y;
        EXPECT_DOUBLE_EQ(nav.orbitRequest.yaw, c.request.yaw) << c.kind << ' ' << c.y;
        EXPECT_DOUBLE_EQ(nav.orbitRequest.pitch, c.request.pitch) << c.kind << ' ' << c.y;
        // A rotation raises a radius in force below one to one.
        EXPECT_EQ(nav.orbit.radius, c.kind == OrbitNavigator::kRotate ? 1.0 : 0.5);
    }
}

// A step goes halfway to the orbit position about the focus and snaps the target's height to
// the ground.
TEST(FollowOrbit, StepsGoHalfwayToTheOrbitPosition) {
    map::MapGrid grid(50, 50);
    grid.SetCellHeight(10, 30, 4.0);
    OrbitNavigator nav;
    const Camera before = nav.camera;
    nav.FollowOrbit(grid, 10.5f, 30.5f);
    const auto d = OrbitState::Direction(-2.3, 1.0);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(nav.camera.eye[i], (before.eye[i] + before.target[i] + 60.0 * d[i]) * 0.5,
                    1e-4);
    }
    EXPECT_EQ(nav.camera.target, (Vec3f{(10.5f + 25.0f) * 0.5f, 4.0f, (30.5f + 25.0f) * 0.5f}));
}

// The request is applied with the radius kept at 1.5 or more; an eye less than a unit above
// the ground draws a radius of 2.5 or more in by one, for that step only.
TEST(FollowOrbit, AppliesTheRequestDrawingInNearTheGround) {
    const map::MapGrid grid(50, 50);
    const struct {
        float eyeY;
        double requested, radius;
    } cases[] = {{30.0f, 1.0, 1.5}, {0.5f, 10.0, 9.0}, {30.0f, 10.0, 10.0}, {0.5f, 2.0, 2.0}};
    for (const auto& c : cases) {
        OrbitNavigator nav;
        nav.camera.Set(5.5f, c.eyeY, 5.5f, 25.0f, 0.0f, 25.0f, 0.0f, 1.0f, 0.0f);
        nav.orbitRequest = {c.requested, 0.4, 0.7};
        nav.FollowOrbit(grid, 25.0f, 25.0f);
        EXPECT_DOUBLE_EQ(nav.orbit.radius, c.radius) << c.eyeY << ' ' << c.requested;
        EXPECT_DOUBLE_EQ(nav.orbit.yaw, 0.4);
        EXPECT_DOUBLE_EQ(nav.orbit.pitch, 0.7);
    }
}

TEST(FollowOrbit, HiddenTargetClimbsByATenthDownToATenthAndIgnoresTheRequest) {
    map::MapGrid grid(50, 50);
    // A ridge far higher than any eye between the camera and the looked-at point.
    for (std::int32_t x = 20; x <= 22; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            grid.SetCellHeight(x, z, 500.0);
        }
    }
    for (const auto& [pitch, request, expected] :
         {std::tuple{1.0, 1.2, 0.9}, std::tuple{0.15, 0.15, 0.1}}) {
        OrbitNavigator nav;
        nav.camera.Set(5.0f, 10.0f, 25.0f, 30.0f, 0.0f, 25.0f, 0.0f, 1.0f, 0.0f);
        nav.orbit = {20.0, -1.5707963267948966, pitch};
        nav.orbitRequest = {20.0, -1.5707963267948966, request};
        nav.FollowOrbit(grid, 30.0f, 25.0f);
        EXPECT_NEAR(nav.orbit.pitch, expected, 1e-12) << pitch;
    }
}

TEST(FocusOn, CentreOfTheMiddleCellWithHalvingTowardZero) {
    OrbitNavigator nav;
    nav.FocusOn(3, 2, 6, 2);
    EXPECT_EQ(std::pair(nav.focusX, nav.focusZ), std::pair(4.5f, 2.5f));
    nav.FocusOn(-1, -3, 0, 0);
    EXPECT_EQ(std::pair(nav.focusX, nav.focusZ), std::pair(0.5f, -0.5f));
}

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
// frame is not mostly empty: some corner comes near its edge. Heights that are not finite are
// left out of the framing; an empty map still gives a usable camera.
TEST(PresetCamera, WholeMapFitsTheFrame) {
    const struct {
        CameraPreset preset;
        std::int32_t sizeX, sizeZ;
        double peak, aspect;
    } cases[] = {{CameraPreset::Top, 50, 50, 0.0, 1.0},  {CameraPreset::Top, 50, 10, 5.0, 1.0},
                 {CameraPreset::Top, 10, 50, 5.0, 2.0},  {CameraPreset::Iso, 50, 50, 0.0, 1.0},
                 {CameraPreset::Iso, 50, 50, 40.0, 1.0}, {CameraPreset::Iso, 3, 40, -10.0, 0.5}};
    for (const auto& c : cases) {
        auto grid = Hill(c.sizeX, c.sizeZ, c.peak);
        const Camera camera = PresetCamera(*grid, c.preset, c.aspect, kFov);
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
        grid->Cell(1, 1).NE = std::numeric_limits<double>::infinity();
        grid->Cell(2, 2).C = std::numeric_limits<double>::quiet_NaN();
        const Camera broken = PresetCamera(*grid, c.preset, c.aspect, kFov);
        EXPECT_EQ(std::pair(broken.eye, broken.target), std::pair(camera.eye, camera.target));
        const Camera empty = PresetCamera(map::MapGrid(0, 0), c.preset, c.aspect, kFov);
        EXPECT_NE(empty.eye, empty.target);
        EXPECT_TRUE(std::ranges::all_of(empty.eye, [](float v) { return std::isfinite(v); }));
    }
}

// The preset names are lower case; start is the new view's camera, whatever the map.
TEST(PresetCamera, TopLooksStraightDownWithZDownThePicture) {
    const auto grid = Hill(20, 30, 4.0);
    const Camera camera = PresetCamera(*grid, *CameraPresetNamed("top"), 1.0, kFov);
    EXPECT_EQ(std::pair(camera.eye[0], camera.eye[2]), std::pair(10.0f, 15.0f));
    EXPECT_EQ(std::pair(camera.target[0], camera.target[2]), std::pair(10.0f, 15.0f));
    EXPECT_GT(camera.eye[1], 4.0f);
    // Row z = 0 at the top of the picture, x growing to the right.
    EXPECT_GT(Project(camera, 1.0, {10.0, 0.0, 0.0})[1], 0.0);
    EXPECT_GT(Project(camera, 1.0, {20.0, 0.0, 15.0})[0], 0.0);
    EXPECT_EQ(PresetCamera(*grid, *CameraPresetNamed("start"), 2.0, kFov).eye, Camera{}.eye);
    EXPECT_EQ(CameraPresetNamed("iso"), CameraPreset::Iso);
    EXPECT_FALSE(CameraPresetNamed("Top"));
}

// Straight down onto the middle of cell (x, z) of a 10x10 map, from 20 units up.
Camera Above(float x, float z) {
    Camera camera;
    camera.Set(x, 20.0f, z, x, 0.0f, z, 0.0f, 0.0f, -1.0f);
    return camera;
}

TEST(CellRay, PointsAcrossTheViewFollowTheCells) {
    const auto grid = test::NewMap();
    // Looking down with -z as up: the right of the view is +x, its top is -z. At 20 units a
    // 55 degree view spans 2 * 20 * tan(27.5) = 20.8 units over its 300 pixels.
    const double pixelsPerUnit = 300 / (2 * 20 * std::tan(27.5 * 3.14159265358979 / 180));
    struct Case {
        double dx, dz;
        std::int32_t cell;
    };
    for (const Case& c : {Case{0.0, 0.0, 603}, Case{1.0, 0.0, 604}, Case{-1.0, 0.0, 602},
                          Case{0.0, -1.0, 503}, Case{0.0, 2.0, 803}, Case{-5.0, 0.0, -1}}) {
        const Ray ray = RayThroughPoint(Above(3.5f, 6.5f), 200 + c.dx * pixelsPerUnit,
                                        150 + c.dz * pixelsPerUnit, 400, 300);
        EXPECT_EQ(CellHitByRay(*grid, ray), c.cell) << c.dx << ", " << c.dz;
    }
}

// A low eye looking down along +x over cell row z = 2 meets the ground in cell (8, 2); the top
// of a raised cell on the way hides it. The sky and an empty map hit nothing.
TEST(CellRay, NearestTerrainWinsAlongTheRay) {
    auto grid = test::NewMap();
    Camera camera;
    camera.Set(-1.0f, 1.0f, 2.5f, 9.0f, 0.0f, 2.5f, 0.0f, 1.0f, 0.0f);
    const Ray ray = RayThroughPoint(camera, 100, 75, 200, 150);
    EXPECT_EQ(CellHitByRay(*grid, ray), MapSelection::CellName(8, 2));
    grid->RaiseCell(6, 2, 0.25);
    EXPECT_EQ(CellHitByRay(*grid, ray), MapSelection::CellName(6, 2));
    EXPECT_EQ(CellHitByRay(*test::NewMap(0, 0), ray), -1);
    camera.Set(5.0f, 1.0f, 5.0f, 5.0f, 10.0f, 6.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(CellHitByRay(*grid, RayThroughPoint(camera, 100, 75, 200, 150)), -1);
}

// Straight down from 20 units, a 400 x 300 view covers 20 * tan(27.5) either way vertically
// and 4 / 3 of that sideways; a level look sees the ground end at the reach.
TEST(CellRay, FootprintOfAViewOnTheGround) {
    const double half = 20 * std::tan(27.5 * 3.14159265358979 / 180);
    const auto down = ViewFootprint(Above(3.5f, 6.5f), 400, 300, 0.0);
    const GroundPoint expected[] = {{3.5 - half * 4 / 3, 6.5 - half},
                                    {3.5 + half * 4 / 3, 6.5 - half},
                                    {3.5 + half * 4 / 3, 6.5 + half},
                                    {3.5 - half * 4 / 3, 6.5 + half}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(down[k][0], expected[k][0], 1e-4) << k;
        EXPECT_NEAR(down[k][1], expected[k][1], 1e-4) << k;
    }
    Camera level;
    level.Set(0.0f, 2.0f, 0.0f, 10.0f, 2.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    const auto ahead = ViewFootprint(level, 400, 300, 0.0);
    // The upper corners never reach the ground; the lower ones meet it short of the reach.
    EXPECT_NEAR(std::hypot(ahead[0][0], ahead[0][1]), kFootprintReach, 1e-9);
    EXPECT_LT(std::hypot(ahead[3][0], ahead[3][1]), 10.0);
    EXPECT_GT(ahead[3][0], 0.0);
}

}  // namespace
}  // namespace zandrel::tools
