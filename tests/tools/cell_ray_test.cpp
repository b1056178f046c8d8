#include "tools/CellRay.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/TerrainFixture.h"
#include "tools/MapSelection.h"

namespace zandrel::tools {
namespace {

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
