#include "tools/HeightSampling.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "support/TerrainFixture.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::NewMap;
using test::SetHeights;

// Points in cell (4, 4) of a 10 x 8 map whose neighbours all stand at 99, so reading any of
// them would show; the sample weighs the centre against the triangle's two corners.
TEST(SampleHeight, ReadsTheCellUnderThePointOrOutsideHeight) {
    auto grid = NewMap(10, 8);
    for (std::int32_t x = 3; x <= 5; ++x) {
        for (std::int32_t z = 3; z <= 5; ++z) {
            SetHeights(*grid, x, z, {99, 99, 99, 99, 99});
        }
    }
    SetHeights(*grid, 4, 4, {1.0, 3.0, 100.0, 100.0, 2.25});
    const double dMain = std::sqrt(0.125);
    const double dAnti = std::sqrt(0.625);
    const struct {
        double x, z, height;
    } cases[] = {
        {4.0, 4.0, 1.0},   // a whole-number point is that cell's NE corner
        {4.5, 4.5, 2.25},  // the centre reads C exactly
        {4.5, 4.0, 0.7071067811865476 * 2.0 + (1 - 0.7071067811865476) * 2.25},
        // On either diagonal near the north edge: w = 0.5, SE and SO unused.
        {4.25, 4.25, 0.5 * 2.25 + 0.5 * ((1 - dMain) * 1.0 + dMain * 3.0)},
        {4.75, 4.25, 0.5 * 2.25 + 0.5 * ((1 - dAnti) * 1.0 + dAnti * 3.0)},
        {10.0, 1.0, OUTSIDE_HEIGHT},
        {1.0, 8.0, OUTSIDE_HEIGHT},
        {-0.25, 1.0, OUTSIDE_HEIGHT},
        {1.0, -0.001, OUTSIDE_HEIGHT},
        {std::nan(""), 1.0, OUTSIDE_HEIGHT},
        {1e300, 1.0, OUTSIDE_HEIGHT},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(sampleHeight(*grid, c.x, c.z), c.height) << c.x << ", " << c.z;
    }
}

TEST(SetNearestVertex, SetsTheNearestOfTheFiveAndRederivesTheCentreFromCorners) {
    const struct {
        Heights before;
        double x, z;
        Heights after;
    } cases[] = {
        {{0, 0, 0, 0, 0}, 3.9, 3.1, {0.0, 5.0, 0.0, 0.0, 2.5}},  // near NO
        {{1, 2, 3, 4, 2.5}, 3.5, 3.5, {1, 2, 3, 4, 5}},          // the exact centre sets only C
        {{1, -2, 3, 4, 7}, 3.1, 3.1, {5, -2, 3, 4, 1.5}},
        {{1, -2, 3, 4, 7}, 3.9, 3.9, {1, -2, 3, 5, 1.5}},
        {{1, -2, 3, 4, 7}, 3.1, 3.9, {1, -2, 5, 4, 1.5}},
    };
    for (const auto& c : cases) {
        auto grid = NewMap();
        SetHeights(*grid, 3, 3, c.before);
        setNearestVertex(*grid, c.x, c.z, 5.0);
        EXPECT_EQ(HeightsOf(grid->Cell(3, 3)), c.after) << c.x << "," << c.z;
    }
    // (-0.5, 0.5) truncates to the first cell and lies as far from NE as from SE; SE wins.
    auto grid = NewMap();
    setNearestVertex(*grid, -0.5, 0.5, 4.0);
    EXPECT_EQ(HeightsOf(grid->Cell(0, 0)), (Heights{0.0, 0.0, 4.0, 0.0, 2.0}));
    // Off the map nothing changes.
    const auto before = *grid;
    for (const auto& [x, z] : {std::pair{10.1, 2.0}, {2.0, -1.0}, {std::nan(""), 2.0}}) {
        setNearestVertex(*grid, x, z, 5.0);
    }
    EXPECT_TRUE(test::SameHeights(*grid, before));
}

TEST(LineOfSight, BlockedByTerrainOnTheSegmentAboveItsStartOrBesideItsStart) {
    struct Case {
        const char* what;
        std::vector<std::array<std::int32_t, 2>> raised;  // cells raised by 10
        std::array<float, 6> segment;
        bool clear;
    };
    const Case cases[] = {
        {"short segment", {{2, 2}}, {2.2f, 0.0f, 2.2f, 2.8f, 0.0f, 2.8f}, true},
        {"one above the ground", {}, {4.5f, 1.0f, 4.5f, 8.5f, 1.0f, 8.5f}, true},
        {"a raised cell on the way", {{5, 5}}, {1.5f, 2.0f, 5.5f, 8.5f, 2.0f, 5.5f}, false},
        {"ground above the start", {}, {2.5f, -1.0f, 2.5f, 6.5f, 5.0f, 2.5f}, false},
        // The segment runs over flat cells of column 4; the side probe looks one unit beside
        // its start, an offset that shrinks to nothing at the far end.
        {"high beside the start", {{3, 5}}, {4.5f, 1.0f, 5.5f, 4.5f, 1.0f, 9.5f}, false},
        {"high beside the end", {{3, 9}}, {4.5f, 1.0f, 5.5f, 4.5f, 1.0f, 9.5f}, true},
        // Off the map only a very low segment is blocked.
        {"off the map", {}, {-9.0f, -100.0f, -9.0f, -2.0f, -100.0f, -2.0f}, true},
        {"off the map, low", {}, {-9.0f, -300.0f, -9.0f, -2.0f, -300.0f, -2.0f}, false},
    };
    for (const Case& c : cases) {
        auto grid = NewMap();
        for (const auto& [x, z] : c.raised) {
            grid->RaiseCell(x, z, 10.0);
        }
        const auto& p = c.segment;
        EXPECT_EQ(lineOfSightClear(*grid, p[0], p[1], p[2], p[3], p[4], p[5]), c.clear) << c.what;
    }
}

}  // namespace
}  // namespace zandrel::tools
