#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

#include "map/MapGrid.h"
#include "tools/Camera.h"
#include "tools/OrbitNavigator.h"
#include "tools/OrbitState.h"

namespace zandrel::tools {
namespace {

double HorizontalAngle(const Camera& camera) {
    return std::atan2(camera.target[0] - camera.eye[0], camera.target[2] - camera.eye[2]);
}

double Distance(const Vec3f& a, const Vec3f& b) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Ten steps of 0.1 about the vertical turn one radian, from +z toward +x, keeping the eye and
// the distance.
TEST(RotateView, TurnsAboutTheEye) {
    Camera camera;
    camera.Set(3.0f, 5.0f, 1.0f, 3.0f, 2.0f, 11.0f, 0.0f, 1.0f, 0.0f);
    const Vec3f eye = camera.eye;
    const double distance = Distance(camera.eye, camera.target);
    const double before = HorizontalAngle(camera);
    for (int i = 0; i < 10; ++i) {
        camera.RotateView(0.1f, 0.0f, 1.0f, 0.0f);
    }
    EXPECT_NEAR(HorizontalAngle(camera) - before, 1.0, 1e-5);
    EXPECT_EQ(camera.eye, eye);
    EXPECT_NEAR(Distance(camera.eye, camera.target), distance, 1e-4);
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

// The first step goes halfway to the orbit position and snaps the target's height to the
// ground; repeated steps converge on the orbit about the focus.
TEST(FollowOrbit, StepsGoHalfwayAndConvergeOnTheOrbitPosition) {
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
    for (int i = 0; i < 40; ++i) {
        nav.FollowOrbit(grid, 10.5f, 30.5f);
    }
    EXPECT_NEAR(nav.camera.target[0], 10.5f, 1e-3);
    EXPECT_NEAR(nav.camera.target[2], 30.5f, 1e-3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(nav.camera.eye[i], nav.camera.target[i] + 60.0 * d[i], 1e-2);
    }
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

}  // namespace
}  // namespace zandrel::tools
