#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <tuple>
#include <utility>
#include <vector>

#include "map/MapGrid.h"
#include "support/TerrainFixture.h"
#include "tools/Camera.h"
#include "tools/CameraPresets.h"
#include "tools/CellRay.h"
#include "tools/ColourRamp.h"
#include "tools/ContourLines.h"
#include "tools/MapSelection.h"
#include "tools/OrbitNavigator.h"
#include "tools/OrbitState.h"
#include "tools/OverviewRows.h"
#include "tools/PanelAttributes.h"
#include "tools/SelectionFigures.h"

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
// size requests nothing.
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
    };
    for (const auto& c : cases) {
        OrbitNavigator nav;
        nav.orbit.radius = 0.5;
        nav.lastPoint = {50, 50};
        nav.DragOrbit(c.x, c.y, c.kind, c.width, c.height);
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

// A map whose middle cell rises to the peak: every corner of the map, at its lowest and highest
// ground, is inside the frame, and the frame is not mostly empty: some corner comes near its
// edge. Heights that are not finite are left out of the framing; an empty map still gives a
// usable camera.
TEST(PresetCamera, WholeMapFitsTheFrame) {
    const struct {
        CameraPreset preset;
        std::int32_t sizeX, sizeZ;
        double peak, aspect;
    } cases[] = {{CameraPreset::Top, 50, 50, 0.0, 1.0},  {CameraPreset::Top, 50, 10, 5.0, 1.0},
                 {CameraPreset::Top, 10, 50, 5.0, 2.0},  {CameraPreset::Iso, 50, 50, 0.0, 1.0},
                 {CameraPreset::Iso, 50, 50, 40.0, 1.0}, {CameraPreset::Iso, 3, 40, -10.0, 0.5}};
    for (const auto& c : cases) {
        auto grid = test::NewMap(c.sizeX, c.sizeZ);
        grid->Cell(c.sizeX / 2, c.sizeZ / 2).C = c.peak;
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

// The preset names are lower case. (That start is the new view's camera is the 3D view's
// comparison with zdmtool render.)
TEST(PresetCamera, TopLooksStraightDownWithZDownThePicture) {
    const auto grid = test::NewMap(20, 30);
    grid->Cell(10, 15).C = 4.0;
    const Camera camera = PresetCamera(*grid, *CameraPresetNamed("top"), 1.0, kFov);
    EXPECT_EQ(std::pair(camera.eye[0], camera.eye[2]), std::pair(10.0f, 15.0f));
    EXPECT_EQ(std::pair(camera.target[0], camera.target[2]), std::pair(10.0f, 15.0f));
    EXPECT_GT(camera.eye[1], 4.0f);
    // Row z = 0 at the top of the picture, x growing to the right.
    EXPECT_GT(Project(camera, 1.0, {10.0, 0.0, 0.0})[1], 0.0);
    EXPECT_GT(Project(camera, 1.0, {20.0, 0.0, 15.0})[0], 0.0);
    EXPECT_FALSE(CameraPresetNamed("Top"));
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

// Straight down onto the middle of cell (3, 6) from 20 units up, with -z as up: the right of
// a 400 x 300 view is +x, its top -z, and it covers 20 * tan(27.5) either way vertically and
// 4 / 3 of that sideways. Points across it name the cells under the pointer; a level look sees
// the ground end at the reach.
TEST(CellRay, PointsAcrossAViewFollowTheCellsOfItsFootprint) {
    Camera down;
    down.Set(3.5f, 20.0f, 6.5f, 3.5f, 0.0f, 6.5f, 0.0f, 0.0f, -1.0f);
    const double half = 20 * std::tan(27.5 * std::numbers::pi / 180);
    const auto grid = test::NewMap();
    for (const auto& [dx, dz, cell] :
         {std::tuple(0.0, 0.0, 603), std::tuple(1.0, 0.0, 604), std::tuple(-1.0, 0.0, 602),
          std::tuple(0.0, -1.0, 503), std::tuple(0.0, 2.0, 803), std::tuple(-5.0, 0.0, -1)}) {
        const Ray ray =
            RayThroughPoint(down, 200 + dx * 150 / half, 150 + dz * 150 / half, 400, 300);
        EXPECT_EQ(CellHitByRay(*grid, ray), cell) << dx << ", " << dz;
    }
    const auto footprint = ViewFootprint(down, 400, 300, 0.0);
    const GroundPoint expected[] = {{3.5 - half * 4 / 3, 6.5 - half},
                                    {3.5 + half * 4 / 3, 6.5 - half},
                                    {3.5 + half * 4 / 3, 6.5 + half},
                                    {3.5 - half * 4 / 3, 6.5 + half}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(footprint[k][0], expected[k][0], 1e-4) << k;
        EXPECT_NEAR(footprint[k][1], expected[k][1], 1e-4) << k;
    }
    Camera level;
    level.Set(0.0f, 2.0f, 0.0f, 10.0f, 2.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    const auto ahead = ViewFootprint(level, 400, 300, 0.0);
    // The upper corners never reach the ground; the lower ones meet it short of the reach.
    EXPECT_NEAR(std::hypot(ahead[0][0], ahead[0][1]), kFootprintReach, 1e-9);
    EXPECT_LT(std::hypot(ahead[3][0], ahead[3][1]), 10.0);
    EXPECT_GT(ahead[3][0], 0.0);
}

using Rows = std::vector<std::int32_t>;

class OverviewRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Heights from -2 to 2 somewhere else, so the changes below keep the ramp's range.
        grid->SetCellHeight(9, 0, -2.0);
        grid->SetCellHeight(9, 9, 2.0);
        EXPECT_TRUE(rows.Update(*grid).whole);
    }

    std::unique_ptr<map::MapGrid> grid = test::NewMap(10, 10);
    OverviewRows rows;
};

TEST_F(OverviewRowsTest, RedrawsAChangedCellsRowAndTheOneBeforeOrAllOnANewRangeOrSize) {
    const struct {
        int x, z;
        void (*edit)(map::MapCell&);
        Rows expected;
    } cases[] = {
        // (A raised cell in the middle of the map is the overview dock's test.)
        {4, 0, [](map::MapCell& c) { c.NE = -1.0; }, {0}},
        {2, 5, [](map::MapCell& c) { c.goal = 1; }, {4, 5}},
        // Textures and physics do not show.
        {2, 5, [](map::MapCell& c) { c.typet = 2; }, {}},
        {2, 5, [](map::MapCell& c) { c.grav = 3.0; }, {}},
    };
    for (const auto& c : cases) {
        c.edit(grid->Cell(c.x, c.z));
        const OverviewRows::Changes changes = rows.Update(*grid);
        EXPECT_FALSE(changes.whole) << c.x << ", " << c.z;
        EXPECT_EQ(changes.rows, c.expected) << c.x << ", " << c.z;
    }

    grid->Cell(1, 3).goal = 1;
    grid->Cell(1, 4).goal = 1;
    EXPECT_EQ(rows.Update(*grid).rows, (Rows{2, 3, 4}));
    // A new size redraws everything (a new height range too: the overview dock's test).
    grid->SizeZ = 4;
    const OverviewRows::Changes changes = rows.Update(*grid);
    EXPECT_TRUE(changes.whole);
    EXPECT_EQ(changes.rows, (Rows{0, 1, 2, 3}));
}

TEST_F(OverviewRowsTest, WallsStandWhereNeighboursDoNotShareTheirEdge) {
    EXPECT_FALSE(OverviewRows::WallToNextX(*grid, 3, 3));
    grid->Cell(4, 3).SE = 0.5;  // the corner (4, 4) seen from (4, 3)
    EXPECT_TRUE(OverviewRows::WallToNextX(*grid, 3, 3));
    EXPECT_FALSE(OverviewRows::WallToNextZ(*grid, 3, 3));
    EXPECT_TRUE(OverviewRows::WallToNextZ(*grid, 4, 3));
    // The border draws none, whatever its heights.
    grid->SetCellHeight(9, 5, 3.0);
    EXPECT_FALSE(OverviewRows::WallToNextX(*grid, 9, 5));
    EXPECT_TRUE(OverviewRows::WallToNextX(*grid, 8, 5));
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The segments of one cell, in triangle order.
TEST(ContourSegments, OfOneCell) {
    const struct {
        const char* what;
        test::Heights heights;
        std::vector<ContourSegment> expected;
    } cases[] = {{"flat on a level draws nothing", {3, 3, 3, 3, 3}, {}},
                 {"flat between levels draws nothing", {0.5, 0.5, 0.5, 0.5, 0.5}, {}},
                 // h = 2x: level 1 crosses the middle in two halves; level 2 lies on the east edge
                 // and is drawn once, by the triangle below it.
                 {"slope along x",
                  {0, 2, 0, 2, 1},
                  {{{0.5, 1, 0.5}, {0.5, 1, 1}, 1},
                   {{1, 2, 0}, {1, 2, 1}, 2},
                   {{0.5, 1, 0.5}, {0.5, 1, 0}, 1}}},
                 // A peak of 2 in the middle: level 1 rings the centre in four pieces; level 2
                 // touches only the centre point and draws nothing.
                 {"peak rings the centre",
                  {0, 0, 0, 0, 2},
                  {{{0.25, 1, 0.75}, {0.75, 1, 0.75}, 1},
                   {{0.25, 1, 0.25}, {0.25, 1, 0.75}, 1},
                   {{0.75, 1, 0.25}, {0.75, 1, 0.75}, 1},
                   {{0.75, 1, 0.25}, {0.25, 1, 0.25}, 1}}},
                 // A height that is not finite drops only the triangles that use it.
                 {"NaN corner drops its triangles",
                  {kNaN, 2, 0, 2, 1},
                  {{{0.5, 1, 0.5}, {0.5, 1, 1}, 1}, {{1, 2, 0}, {1, 2, 1}, 2}}},
                 {"huge span adds nothing", {0, 0, 0, 0, 1.0e5}, {}}};
    for (const auto& c : cases) {
        const auto grid = test::NewMap(1, 1);
        test::SetHeights(*grid, 0, 0, c.heights);
        EXPECT_EQ(ContourSegments(*grid), c.expected) << c.what;
    }
    // Every fifth level, counted from 0 both ways, is an index level.
    const auto index = [](int level) { return ContourSegment{{}, {}, level}.IsIndexLevel(); };
    EXPECT_TRUE(index(-10) && index(0) && index(5));
    EXPECT_FALSE(index(-3) || index(1) || index(7));
}

TEST(ColourRamp, EndsClampAndNaNTakesTheLowEnd) {
    EXPECT_EQ(RampColour(-1.0), RampColour(0.0));
    EXPECT_EQ(RampColour(2.0), RampColour(1.0));
    EXPECT_EQ(RampColour(kNaN), RampColour(0.0));
    // Every colour is one a display can show, and lightness (Rec. 709 luma) rises along the
    // ramp, the high end far brighter than the low one.
    const auto luma = [](const Rgb& c) { return 0.2126f * c[0] + 0.7152f * c[1] + 0.0722f * c[2]; };
    for (int i = 1; i <= 64; ++i) {
        const Rgb colour = RampColour(i / 64.0);
        EXPECT_TRUE(std::ranges::all_of(colour, [](float v) { return v >= 0.0f && v <= 1.0f; }));
        EXPECT_GT(luma(colour), luma(RampColour((i - 1) / 64.0))) << i;
    }
    EXPECT_GT(luma(RampColour(1.0)), 5.0f * luma(RampColour(0.0)));
    EXPECT_EQ(RampPosition(5.0, {5.0, 5.0}), 0.5);
    // A cell's colour is the ramp's at the mean of its five heights.
    map::MapCell cell;
    cell.NE = cell.NO = cell.SE = cell.SO = 1.0;
    cell.C = 6.0;
    EXPECT_EQ(OverviewRows::CellColour(cell, {-2.0, 2.0}), RampColour(1.0));
    cell.C = -14.0;
    EXPECT_EQ(OverviewRows::CellColour(cell, {-2.0, 2.0}), RampColour(0.0));
}

TEST(FieldRange, SkipsValuesThatAreNotFinite) {
    map::MapGrid grid(2, 1);
    grid.Cell(0, 0).grav = -std::numeric_limits<double>::infinity();
    grid.Cell(1, 0).grav = 9.8;
    grid.Cell(1, 0).SO = -4.0;
    grid.Cell(0, 0).C = kNaN;
    EXPECT_EQ(FieldRange(grid, CellField::Gravity), (ValueRange{9.8, 9.8}));
    EXPECT_EQ(FieldRange(grid, CellField::Height), (ValueRange{-4.0, 0.0}));
    grid.Cell(1, 0).grav = kNaN;
    EXPECT_FALSE(FieldRange(grid, CellField::Gravity).has_value());
}

// A map whose stored selection is the block (2, 3) to (4, 5), every cell of it with these
// attributes.
std::unique_ptr<map::MapGrid> Selected(double grav, double artr) {
    auto grid = test::NewMap();
    grid->SetSelection(2, 3, 4, 5);
    for (std::int32_t x = 2; x <= 4; ++x) {
        for (std::int32_t z = 3; z <= 5; ++z) {
            grid->Cell(x, z).grav = grav;
            grid->Cell(x, z).artr = artr;
        }
    }
    return grid;
}

using Shown = std::array<std::int32_t, 4>;

// What the panel shows for the stored selection: gravity, friction, tile and wall slots.
Shown ShownOf(const map::MapGrid& grid) {
    return {CommonGravity(grid), CommonFriction(grid), CommonTileType(grid), CommonWallType(grid)};
}

constexpr std::int32_t kNone = kNoCommonValue;

// That one different cell of the selection hides a value is the panel's test; cells outside it
// do not count.
TEST(CommonValues, SharedWholeNumbersOfTheSelectionAreShown) {
    auto grid = Selected(-120.0, 12.0);
    grid->Cell(5, 5).artr = 3.0;
    grid->Cell(1, 3).typew = 2;
    EXPECT_EQ(ShownOf(*grid), (Shown{-120, 12, 0, 1}));
    // Fractions, a shared gravity of -1 (which reads as none), NaN and huge values show nothing.
    EXPECT_EQ(ShownOf(*Selected(7.5, std::nan(""))), (Shown{kNone, kNone, 0, 1}));
    EXPECT_EQ(ShownOf(*Selected(-1.0, 1e12)), (Shown{kNone, kNone, 0, 1}));
}

TEST(PanelButtons, WriteTheSelectedCellsOnlyAndNothingWithoutASelection) {
    auto grid = Selected(-160.0, 7.0);
    ApplyAttributes(*grid, 40, 15);
    for (const std::int32_t entry : {3, -1}) {  // -1: no current entry, which changes nothing
        ApplyTileTexture(*grid, entry);
        ApplyWallTexture(*grid, entry);
        ApplyEnemyTexture(*grid, entry);
    }
    EXPECT_EQ(ShownOf(*grid), (Shown{40, 15, 3, 3}));
    EXPECT_EQ(grid->Enemys_Tex, 3);
    // Cells beside the block keep their values.
    EXPECT_EQ(grid->Cell(5, 5).grav, -160.0);
    EXPECT_EQ(grid->Cell(2, 2).artr, 7.0);
    EXPECT_EQ(grid->Cell(1, 3).typet, 0);
    auto unselected = test::NewMap();
    ApplyAttributes(*unselected, 40, 15);
    ApplyTileTexture(*unselected, 2);
    EXPECT_TRUE(unselected->SameContent(*test::NewMap()));
    EXPECT_EQ(ShownOf(*unselected), (Shown{kNone, kNone, kNone, kNone}));
}

// Of the corners only, over a block given in any order; that the centre is no corner, and a
// slope along x, are the status readout's test (tests/app).
TEST(SelectionFigures, LowestHighestMeanAndSteepestCornerSlope) {
    auto grid = test::NewMap(4, 4);
    test::SetHeights(*grid, 1, 1, {0.0, 1.0, 0.0, 1.0, 9.0});  // 45 degrees along x
    test::SetHeights(*grid, 2, 1,
                     {-2.0, -2.0, std::sqrt(3.0) - 2, std::sqrt(3.0) - 2, 0.0});  // 60 in z
    const SelectionFigures figures = FiguresOf(*grid, map::CellRect{2, 1, 1, 1});
    ASSERT_TRUE(figures.any);
    EXPECT_EQ(std::pair(figures.lowest, figures.highest), std::pair(-2.0, 1.0));
    EXPECT_DOUBLE_EQ(figures.mean, (2.0 - 8.0 + 2 * std::sqrt(3.0)) / 8.0);
    EXPECT_NEAR(figures.steepestDegrees, 60.0, 1e-12);
    // Heights that are no numbers and cells off the map are left out.
    test::SetHeights(*grid, 3, 3, {kNaN, 3.0, 3.0, 3.0, 3.0});
    const SelectionFigures edge = FiguresOf(*grid, map::CellRect{3, 3, 7, 7});
    EXPECT_EQ(std::tuple(edge.lowest, edge.mean, edge.steepestDegrees), std::tuple(3.0, 3.0, 0.0));
    EXPECT_FALSE(FiguresOf(*grid, map::CellRect{}).any);
}

}  // namespace
}  // namespace zandrel::tools
