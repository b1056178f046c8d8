#include "tools/MapSelection.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "support/TerrainFixture.h"
#include "support/TerrainGen.h"
#include "tools/EditCommands.h"
#include "tools/HeightSampling.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::SetHeights;

constexpr Heights Flat(double h) {
    return {h, h, h, h, h};
}

struct CellHeights {
    std::int32_t x, z;
    Heights h;
};

// One tool applied once to a block: the cells set up before, and the cells checked after.
struct ToolCase {
    const char* what;
    std::vector<CellHeights> before;
    MapSelection selection;
    std::int32_t mode;
    double value;
    std::vector<CellHeights> after;
};

constexpr Heights kRise{0.0, 1.0, 0.0, 1.0, 0.5};
constexpr Heights kRise2{1.0, 2.0, 1.0, 2.0, 1.5};

// clang-format off
const ToolCase kToolCases[] = {
    // An odd block takes the middle cell's NE corner, whatever the value.
    {"flatten odd", {{2, 2, Flat(9)}, {3, 3, {4, 0, 0, 0, 0}}, {4, 4, Flat(-3)}},
             {2, 2, 4, 4}, TOOL_FLATTEN, 0.0,
             {{2, 2, Flat(4)}, {3, 3, Flat(4)}, {4, 4, Flat(4)}}},
    // An even block takes the first cell's NE corner plus the value.
    {"flatten even", {{2, 2, {1.5, 0, 0, 0, 0}}, {3, 3, Flat(8)}}, {2, 2, 3, 3},
             TOOL_FLATTEN, 2.0, {{3, 3, Flat(3.5)}, {2, 3, Flat(3.5)}}},
    // A wheel notch raises all five heights by one, leaving a step at the block's edge.
    {"raise", {{3, 3, {0.5, 1.0, -1.0, 2.0, 0.25}}}, {3, 3, 4, 3}, TOOL_RAISE, 1.0,
             {{3, 3, {1.5, 2.0, 0.0, 3.0, 1.25}}, {4, 3, Flat(1)}}},
    {"set height", {}, {1, 1, 2, 2}, TOOL_SET_HEIGHT, -7.25,
             {{2, 2, Flat(-7.25)}}},
    // A tenth as a product, which is not the same double as 3 / 10.
    {"landslide one cell", {}, {5, 5, 5, 5}, TOOL_LANDSLIDE, 3.0,
             {{5, 5, {0, 0, 0, 0, 3 * 0.1}}}},
    {"landslide row", {{3, 3, Flat(0.5)}, {4, 3, Flat(2)}}, {2, 3, 4, 3}, TOOL_LANDSLIDE,
             10.0, {{2, 3, {0.0, 1.5, 0.0, 1.5, 0.75}}, {3, 3, {1.5, 3.0, 1.5, 3.0, 2.25}},
                    {4, 3, {3.0, 2.0, 3.0, 2.0, 2.5}}}},
    {"tilt level up", {}, {2, 3, 4, 4}, TOOL_TILT, 100.0,
             {{2, 3, kRise}, {3, 3, kRise2}, {4, 3, Flat(2)}, {2, 4, kRise}, {3, 4, kRise2},
              {4, 4, Flat(2)}}},
    {"tilt level down", {}, {2, 3, 4, 4}, TOOL_TILT, -100.0,
             {{2, 3, {2, 1, 2, 1, 1.5}}, {3, 3, {1, 0, 1, 0, 0.5}}, {4, 3, Flat(0)},
              {2, 4, {2, 1, 2, 1, 1.5}}, {3, 4, {1, 0, 1, 0, 0.5}}, {4, 4, Flat(0)}}},
    // A lower first corner adds steps counted from the first cell.
    {"tilt lower first up", {{4, 3, Flat(5)}}, {2, 3, 4, 3}, TOOL_TILT, 100.0,
             {{2, 3, kRise}, {3, 3, {1, 7, 1, 7, 4}}, {4, 3, Flat(7)}}},
    {"tilt lower first down", {{4, 3, Flat(5)}}, {2, 3, 4, 3}, TOOL_TILT, -100.0,
             {{2, 3, {0, -1, 0, -1, -0.5}}, {3, 3, {-1, 3, -1, 3, 1}}, {4, 3, Flat(3)}}},
    // A higher first corner subtracts steps counted from the last cell.
    {"tilt higher first", {{2, 3, Flat(5)}}, {2, 3, 4, 3}, TOOL_TILT, 100.0,
             {{2, 3, {3, -1, 3, -1, 1}}, {3, 3, {-1, 0, -1, 0, -0.5}}, {4, 3, Flat(0)}}},
    // Every inside boundary takes the level of the cell on its far side.
    {"level block", {{2, 3, Flat(1)}, {3, 3, Flat(2)}, {2, 4, Flat(3)}, {3, 4, Flat(4)}},
             {2, 3, 3, 4}, TOOL_LEVEL, 0.0,
             {{3, 4, Flat(4)}, {2, 3, {1, 2, 3, 4, 2.5}}, {3, 3, {2, 2, 4, 4, 3}},
              {2, 4, {3, 4, 3, 4, 3.5}}}},
    // One cell goes flat at its centre plus tenths of the value.
    {"level one cell", {{6, 6, {0, 0, 2, 2, 1}}}, {6, 6, 6, 6}, TOOL_LEVEL, 10.0,
             {{6, 6, Flat(2)}}}};
// clang-format on

TEST(ApplyTool, GivesTheseHeightsOnABlock) {
    for (const ToolCase& c : kToolCases) {
        auto doc = test::NewDocument();
        for (const CellHeights& cell : c.before) {
            SetHeights(doc->mapGrid, cell.x, cell.z, cell.h);
        }
        MapSelection s = c.selection;
        s.applyTool(doc->mapGrid, doc->undoGrid, c.mode, c.value);
        for (const CellHeights& cell : c.after) {
            EXPECT_EQ(HeightsOf(doc->mapGrid.Cell(cell.x, cell.z)), cell.h)
                << c.what << ": " << cell.x << "," << cell.z;
        }
    }
}

TEST(Pyramid, RaisesInsideVerticesAndTheMiddleOnceMore) {
    auto doc = test::NewDocument();
    MapSelection s(2, 2, 5, 5);
    s.applyTool(doc->mapGrid, doc->undoGrid, TOOL_PYRAMID, 31.0);
    for (std::int32_t x = 2; x <= 6; ++x) {
        for (std::int32_t z = 2; z <= 6; ++z) {
            const bool inside = x >= 3 && x <= 5 && z >= 3 && z <= 5;
            const double e = (x == 4 && z == 4) ? 2.0 : inside ? 1.0 : 0.0;
            EXPECT_EQ(test::VertexCopies(doc->mapGrid, x, z), (std::array<double, 4>{e, e, e, e}))
                << x << "," << z;
        }
    }
    // An odd size ends with the middle centre raised once more.
    auto grid = test::NewMap();
    MapSelection(2, 2, 4, 4).pyramid(*grid, 1.0);
    EXPECT_EQ(HeightsOf(grid->Cell(3, 3)), (Heights{1.0, 1.0, 1.0, 1.0, 2.0}));
}

constexpr std::int32_t kOperations[] = {TOOL_LEVEL,   TOOL_LANDSLIDE, TOOL_TILT,      TOOL_FLATTEN,
                                        TOOL_PYRAMID, TOOL_RAISE,     TOOL_SET_HEIGHT};

// Any tool, refused ones and modes without an operation included, once or twice on a block
// of a generated map: cells outside the block keep their heights, a refused tool changes
// nothing, and undo puts back the heights from before the first application.
RC_GTEST_PROP(ApplyTool, ChangesOnlyTheBlockAndUndoRestoresTheSnapshot, ()) {
    auto doc = test::NewDocument(*rc::gen::inRange(1, 12), *rc::gen::inRange(1, 12));
    test::GenHeights(doc->mapGrid);
    MapSelection s = test::GenBlock(doc->mapGrid);
    const std::int32_t mode = *rc::gen::inRange(-1, 13);
    const double value = *rc::gen::inRange(-20, 21);
    const auto before = std::make_unique<map::MapGrid>(doc->mapGrid);
    for (int i = *rc::gen::inRange(1, 3); i > 0; --i) {
        s.applyTool(doc->mapGrid, doc->undoGrid, mode, value);
    }
    RC_ASSERT(s.undoSaved);
    const bool refused = std::ranges::count(kOperations, mode) == 0 ||
                         (mode == TOOL_TILT && s.isSquare()) ||
                         (mode == TOOL_PYRAMID && !s.isSquare());
    RC_ASSERT(test::SameHeightsOutside(doc->mapGrid, *before, refused ? map::CellRect{} : s));
    RC_ASSERT(EditUndo(*doc, s));
    RC_ASSERT(test::SameHeightsOutside(doc->mapGrid, *before, {}));
}

TEST(ApplyTool, InvertedOrCorruptSelectionsStayInsideTheGrid) {
    auto doc = test::NewDocument();
    const auto apply = [&](MapSelection s) {
        for (const std::int32_t mode : kOperations) {
            s.applyTool(doc->mapGrid, doc->undoGrid, mode, 1.0);
        }
    };
    const auto flat = doc->mapGrid;
    apply({5, 5, 2, 2});
    EXPECT_TRUE(test::SameHeights(doc->mapGrid, flat));
    // Whole-cell operations reach every stored cell, the off-map rest is untouched.
    apply({-2000000000, -2000000000, 2000000000, 2000000000});
    EXPECT_EQ(HeightsOf(doc->mapGrid.Cell(0, 0)), Flat(1.0));
    EXPECT_EQ(HeightsOf(doc->mapGrid.Cell(49, 49)), Flat(1.0));
    // Corners at the ends of the int32 range neither wrap round nor run for long.
    const auto before = doc->mapGrid;
    apply({2147483647, 2147483647, 2147483647, 2147483647});
    apply({2147483647, 2147483647, -2147483647 - 1, -2147483647 - 1});
    EXPECT_TRUE(test::SameHeights(doc->mapGrid, before));
}

using test::NewMap;

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
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(sampleHeight(*grid, c.x, c.z), c.height) << c.x << ", " << c.z;
    }
    for (const auto& [x, z] : {std::pair{10.0, 1.0},
                               {1.0, 8.0},
                               {-0.25, 1.0},
                               {1.0, -0.001},
                               {std::nan(""), 1.0},
                               {1e300, 1.0}}) {
        EXPECT_EQ(sampleHeight(*grid, x, z), OUTSIDE_HEIGHT) << x << ", " << z;
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
