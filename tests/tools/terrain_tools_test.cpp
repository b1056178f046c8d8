#include "tools/MapSelection.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "mapfile/MapWriter.h"
#include "support/TerrainFixture.h"
#include "support/TerrainGen.h"
#include "tools/ClipboardTransform.h"
#include "tools/EditCommands.h"
#include "tools/HeightSampling.h"
#include "tools/Heightmap.h"
#include "tools/MapResize.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::SetHeights;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

constexpr Heights Flat(double h) {
    return {h, h, h, h, h};
}

using CellHeights = std::tuple<std::int32_t, std::int32_t, Heights>;

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
        for (const auto& [x, z, h] : c.before) {
            SetHeights(doc->mapGrid, x, z, h);
        }
        MapSelection s = c.selection;
        s.applyTool(doc->mapGrid, doc->undoGrid, c.mode, c.value);
        for (const auto& [x, z, h] : c.after) {
            EXPECT_EQ(HeightsOf(doc->mapGrid.Cell(x, z)), h) << c.what << ": " << x << "," << z;
        }
    }
}

TEST(Pyramid, RaisesInsideVerticesAndTheMiddleOnceMore) {
    auto doc = test::NewDocument();
    MapSelection(2, 2, 5, 5).applyTool(doc->mapGrid, doc->undoGrid, TOOL_PYRAMID, 31.0);
    for (std::int32_t x = 2; x <= 6; ++x) {
        for (std::int32_t z = 2; z <= 6; ++z) {
            const bool inside = x >= 3 && x <= 5 && z >= 3 && z <= 5;
            const double e = (x == 4 && z == 4) ? 2.0 : inside ? 1.0 : 0.0;
            EXPECT_EQ(test::VertexCopies(doc->mapGrid, x, z), (std::array<double, 4>{e, e, e, e}))
                << x << "," << z;
        }
    }
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

// Points in cell (4, 4) of a 10 x 8 map whose neighbours all stand at 99, so reading any of
// them would show; the sample weighs the centre against the triangle's two corners.
TEST(SampleHeight, ReadsTheCellUnderThePointOrOutsideHeight) {
    auto grid = test::NewMap(10, 8);
    MapSelection(3, 3, 5, 5).setCells(*grid, 99.0);
    SetHeights(*grid, 4, 4, {1.0, 3.0, 100.0, 100.0, 2.25});
    const double dMain = std::sqrt(0.125);
    const double dAnti = std::sqrt(0.625);
    const std::array<double, 3> cases[] = {
        {4.0, 4.0, 1.0},   // a whole-number point is that cell's NE corner
        {4.5, 4.5, 2.25},  // the centre reads C exactly
        {4.5, 4.0, 0.7071067811865476 * 2.0 + (1 - 0.7071067811865476) * 2.25},
        // On either diagonal near the north edge: w = 0.5, SE and SO unused.
        {4.25, 4.25, 0.5 * 2.25 + 0.5 * ((1 - dMain) * 1.0 + dMain * 3.0)},
        {4.75, 4.25, 0.5 * 2.25 + 0.5 * ((1 - dAnti) * 1.0 + dAnti * 3.0)},
        // Off the map.
        {10.0, 1.0, OUTSIDE_HEIGHT},
        {1.0, 8.0, OUTSIDE_HEIGHT},
        {-0.25, 1.0, OUTSIDE_HEIGHT},
        {1.0, -0.001, OUTSIDE_HEIGHT},
        {kNaN, 1.0, OUTSIDE_HEIGHT},
        {1e300, 1.0, OUTSIDE_HEIGHT},
    };
    for (const auto& [x, z, height] : cases) {
        EXPECT_DOUBLE_EQ(sampleHeight(*grid, x, z), height) << x << ", " << z;
    }
}

// Which corner a point inside a cell sets is the tools' business (the table above, through the
// points 0.1 inside each corner, and the centre alone through a landslide on one cell). Here:
// (-0.5, 0.5) truncates to the first cell and lies as far from NE as from SE; SE wins, and the
// centre comes anew halfway between the lowest and the highest corner, not at their mean.
TEST(SetNearestVertex, BreaksTiesTowardSEAndRederivesTheCentreFromCorners) {
    auto grid = test::NewMap();
    setNearestVertex(*grid, -0.5, 0.5, 4.0);
    EXPECT_EQ(HeightsOf(grid->Cell(0, 0)), (Heights{0.0, 0.0, 4.0, 0.0, 2.0}));
    // Off the map nothing changes.
    const auto before = *grid;
    for (const auto& [x, z] : {std::pair{10.1, 2.0}, {2.0, -1.0}, {kNaN, 2.0}}) {
        setNearestVertex(*grid, x, z, 5.0);
    }
    EXPECT_TRUE(test::SameHeights(*grid, before));
}

TEST(LineOfSight, BlockedByTerrainOnTheSegmentAboveItsStartOrBesideItsStart) {
    // What, the cells raised by 10, the segment from (x, y, z) to (x, y, z), whether it is clear.
    using Cells = std::vector<std::array<std::int32_t, 2>>;
    const std::tuple<const char*, Cells, std::array<float, 6>, bool> cases[] = {
        {"short segment", {{2, 2}}, {2.2f, 0.0f, 2.2f, 2.8f, 0.0f, 2.8f}, true},
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
    for (const auto& [what, raised, p, clear] : cases) {
        auto grid = test::NewMap();
        for (const auto& [x, z] : raised) {
            grid->RaiseCell(x, z, 10.0);
        }
        EXPECT_EQ(lineOfSightClear(*grid, p[0], p[1], p[2], p[3], p[4], p[5]), clear) << what;
    }
}

// A 2 x 1 map with a wall: cell 0 rises to 4 on its west side, cell 1 starts again at 1 there.
std::unique_ptr<map::MapGrid> WalledPair() {
    auto grid = test::NewMap(2, 1);
    SetHeights(*grid, 0, 0, {0.0, 4.0, 2.0, 4.0, 5.0});
    SetHeights(*grid, 1, 0, {1.0, 3.0, 1.0, 7.0, 6.0});
    return grid;
}

TEST(SampleHeightField, LaysCornersCentresAndEdgeMiddlesOnTheLattice) {
    const HeightField field = SampleHeightField(*WalledPair());
    // Row 0 is the z = 0 edge, row 2 the z = 1 edge; the shared corners at u = 2 take the
    // higher of the two cells' values (4 over 1 on both rows).
    const std::vector<double> expected = {
        0.0, 2.0, 4.0, 3.5, 3.0,  // NE, mid, shared NO|NE, mid, NO
        1.0, 5.0, 4.0, 6.0, 5.0,  // edge middles at even u, centres at odd u
        2.0, 3.0, 4.0, 5.5, 7.0,  // SE, mid, shared SO|SE, mid, SO
    };
    EXPECT_EQ(field.heights, expected);
    // A number beats NaN at a shared corner.
    auto grid = WalledPair();
    grid->Cell(0, 0).NO = kNaN;
    EXPECT_EQ(SampleHeightField(*grid).At(2, 0), 1.0);
}

// Range skips what is not finite and is zero without numbers; levels round, clamp and send NaN
// to the bottom; levels spread back over the range with its ends exact.
TEST(HeightLevels, RangeLevelsAndBackAgain) {
    const auto range = [](HeightField f) { return std::pair(RangeOf(f).min, RangeOf(f).max); };
    EXPECT_EQ(range({3, 1, {2.5, kNaN, -kInf}}), std::pair(2.5, 2.5));
    EXPECT_EQ(range({3, 1, {2.5, -1.0, kInf}}), std::pair(-1.0, 2.5));
    EXPECT_EQ(range({1, 1, {kNaN}}), std::pair(0.0, 0.0));

    const HeightField field{7, 1, {-1.0, 0.0, 1.0, 0.5, 9.0, kNaN, kInf}};
    const std::vector<std::uint16_t> expected = {0, 0, 65535, 32768, 65535, 0, 65535};
    EXPECT_EQ(LevelsOf(field, {0.0, 1.0}), expected);
    EXPECT_EQ(LevelsOf(field, {2.0, 2.0}), std::vector<std::uint16_t>(7, 0));

    const std::vector<std::uint16_t> levels = {0, 65535, 13107};
    const HeightField back = HeightsFromLevels(3, 1, levels, {-0.1, 0.7});
    EXPECT_EQ(std::pair(back.heights[0], back.heights[1]), std::pair(-0.1, 0.7));
    EXPECT_NEAR(back.heights[2], 0.06, 1e-12);
}

// A 2 x 2 field puts its samples on the map's outer corners and stretches bilinearly between
// them, here as h = 4x + 2z; nothing but heights and normals changes. (A field of the map's own
// size coming back is the round trip of tests/cli/heightmap_command_test.cpp.)
TEST(ApplyHeightField, StretchesAnyFieldChangingOnlyHeightsAndNormalsAndImportIsAnEdit) {
    auto grid = test::NewMap(2, 2);
    grid->Cell(1, 0) = {0, 0, 0, 0, 0, 2, 1, 1, -9.5, 3.0};
    grid->start.Set(1, 1, 1, 1);
    grid->enemies[2].Set(0, 1, 0, 1);
    auto expected = std::make_unique<map::MapGrid>(*grid);
    ApplyHeightField(*grid, {2, 2, {0.0, 8.0, 4.0, 12.0}});
    // 4x + 2z at each corner and centre: every shared corner agrees, as on any imported map.
    SetHeights(*expected, 0, 0, {0, 4, 2, 6, 3});
    SetHeights(*expected, 1, 0, {4, 8, 6, 10, 7});
    SetHeights(*expected, 0, 1, {2, 6, 4, 8, 5});
    SetHeights(*expected, 1, 1, {6, 10, 8, 12, 9});
    EXPECT_TRUE(grid->SameContent(*expected));
    // The slope from west to east tilts the normals toward -x.
    EXPECT_LT(grid->normals[1][0][0][0], 0.0F);
    // A field without samples (or fewer than its size says) leaves the map alone.
    ApplyHeightField(*grid, {0, 0, {}});
    ApplyHeightField(*grid, {2, 2, {1.0}});
    EXPECT_TRUE(grid->SameContent(*expected));
    // One sample makes a flat map.
    ApplyHeightField(*grid, {1, 1, {2.5}});
    EXPECT_EQ(HeightsOf(grid->Cell(1, 0)), Flat(2.5));
    // Imported, a field without samples is no edit, and after one the next tool starts an
    // undo step of its own. (That undo takes an import back whole is tests/app's map docks.)
    auto doc = test::NewDocument(3, 3);
    MapSelection selection(1, 1, 1, 1);
    selection.undoSaved = true;
    EXPECT_FALSE(ImportHeightField(*doc, selection, {}));
    EXPECT_FALSE(CanUndo(*doc));
    ASSERT_TRUE(ImportHeightField(*doc, selection, {1, 1, {-2.0}}));
    EXPECT_FALSE(selection.undoSaved);
}

// Copy, paste, merge, cut and undo of a block of a generated map, pasted from a cell anywhere
// near the map, the far edges cutting it off. Until the copy the clipboard offers nothing.
RC_GTEST_PROP(Clipboard, PasteLaysTheCopyAtTheTargetsTruncatedLevel, ()) {
    auto doc = test::NewDocument(*rc::gen::inRange(1, 12), *rc::gen::inRange(1, 12));
    map::MapGrid& grid = doc->mapGrid;
    test::GenHeights(grid);
    const MapSelection source = test::GenBlock(grid);
    auto clipboard = std::make_unique<map::MapGrid>();
    MapSelection cut = source;
    RC_ASSERT(!EditPaste(*doc, cut, *clipboard) && !EditMerge(*doc, cut, *clipboard));
    RC_ASSERT(!EditTurnClipboard(*clipboard, BlockTurn::FlipX));
    RC_ASSERT(!CanUndo(*doc));
    EditCopy(*doc, source, *clipboard);
    const auto before = std::make_unique<map::MapGrid>(grid);
    const double sourceLevel = std::trunc(before->Cell(source.x0, source.z0).C);

    const std::int32_t tx = *rc::gen::inRange(0, grid.SizeX + 3);
    const std::int32_t tz = *rc::gen::inRange(0, grid.SizeZ + 3);
    const double level = tx < grid.SizeX && tz < grid.SizeZ ? std::trunc(grid.Cell(tx, tz).C) : 0;
    const MapSelection pasted(tx, tz, std::min(tx + source.x1 - source.x0, grid.SizeX - 1),
                              std::min(tz + source.z1 - source.z0, grid.SizeZ - 1));
    // Each cell the block lands on: after - (level or 0) is the source cell's height relative
    // to its own level.
    const auto landed = [&](double onLevel, bool merged) {
        for (std::int32_t x = pasted.x0; x <= pasted.x1; ++x) {
            for (std::int32_t z = pasted.z0; z <= pasted.z1; ++z) {
                const Heights base = merged ? HeightsOf(before->Cell(x, z)) : Flat(onLevel);
                const Heights after = HeightsOf(grid.Cell(x, z));
                const Heights from =
                    HeightsOf(before->Cell(source.x0 + x - tx, source.z0 + z - tz));
                for (std::size_t i = 0; i < after.size(); ++i) {
                    RC_ASSERT(after[i] - base[i] == from[i] - sourceLevel);
                }
            }
        }
        RC_ASSERT(test::SameHeightsOutside(grid, *before, pasted));
    };
    MapSelection target(tx, tz, tx, tz);
    target.undoSaved = true;
    RC_ASSERT(EditPaste(*doc, target, *clipboard));
    RC_ASSERT(target == pasted);
    RC_ASSERT(!target.undoSaved);
    landed(level, false);
    RC_ASSERT(EditUndo(*doc, target));
    RC_ASSERT(test::SameHeightsOutside(grid, *before, {}));

    target = {tx, tz, tx, tz};
    RC_ASSERT(EditMerge(*doc, target, *clipboard));
    RC_ASSERT(target == MapSelection(tx, tz, tx, tz));
    landed(0, true);
    RC_ASSERT(EditUndo(*doc, target));
    RC_ASSERT(!EditUndo(*doc, target));
    RC_ASSERT(test::SameHeightsOutside(grid, *before, {}));

    // Cut copies the same block and leaves it flat at its first cell's NE corner.
    auto cutClipboard = std::make_unique<map::MapGrid>();
    EditCut(*doc, cut, *cutClipboard);
    RC_ASSERT(!cut.undoSaved);
    RC_ASSERT(test::SameHeightsOutside(*cutClipboard, *clipboard, {}));
    source.setCells(*before, before->Cell(source.x0, source.z0).NE);
    RC_ASSERT(test::SameHeightsOutside(grid, *before, {}));
}

// The height of cell (x, z) at the point (x + u / 2, z + v / 2): u and v of 0 or 2 give a
// corner, both 1 the centre.
double At(const map::MapGrid& grid, std::int32_t x, std::int32_t z, int u, int v) {
    return HeightsOf(grid.Cell(x, z))[u == 1 ? 4 : u / 2 + v];
}

// A quarter turn takes the point (x, z) of a block W wide and D deep to (D - z, x), a mirror
// in x to (W - x, z), one in z to (x, D - z); each height goes with its point.
RC_GTEST_PROP(TurnClipboard, MovesEachHeightWhereTheTurnMovesItsPoint, ()) {
    auto block = test::NewMap(*rc::gen::inRange(1, 7), *rc::gen::inRange(1, 7));
    test::GenHeights(*block);
    const auto turned = [&](BlockTurn turn) {
        auto copy = std::make_unique<map::MapGrid>(*block);
        RC_ASSERT(EditTurnClipboard(*copy, turn));
        return copy;
    };
    const auto rotated = turned(BlockTurn::Rotate);
    const auto mirroredX = turned(BlockTurn::FlipX);
    const auto mirroredZ = turned(BlockTurn::FlipZ);
    const std::int32_t w = block->SizeX;
    const std::int32_t d = block->SizeZ;
    RC_ASSERT(std::pair(rotated->SizeX, rotated->SizeZ) == std::pair(d, w));
    for (std::int32_t x = 0; x < w; ++x) {
        for (std::int32_t z = 0; z < d; ++z) {
            for (const auto& [u, v] : {std::pair{0, 0}, {2, 0}, {0, 2}, {2, 2}, {1, 1}}) {
                const double h = At(*block, x, z, u, v);
                RC_ASSERT(At(*rotated, d - 1 - z, x, 2 - v, u) == h);
                RC_ASSERT(At(*mirroredX, w - 1 - x, z, 2 - u, v) == h);
                RC_ASSERT(At(*mirroredZ, x, d - 1 - z, u, 2 - v) == h);
            }
        }
    }
}

// A map whose every cell value tells where the cell was: types and friction give x and z.
void MarkCells(map::MapGrid& grid) {
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            grid.Cell(x, z) = {1.0 * x, 2.0, 3.0, 4.0, 0.5 * z, x, z, 1, -7.0, 1.0 * x + z};
        }
    }
}

// What a resize refuses, and that undo right after one gives back the whole map, the script
// session shows (tests/cli/script_session_test.cpp).
TEST(Resize, PlacesMoveOrGoAndUndoAfterAToolTakesBackItsHeightsOnly) {
    auto doc = test::NewDocument(3, 3);
    map::MapGrid& grid = doc->mapGrid;
    MarkCells(grid);
    grid.start.Set(0, 0, 0, 0);
    grid.start.texture = 77;
    grid.enemies[0].Set(2, 2, 2, 2);
    grid.enemies[1].Set(9, 9, 9, 9);  // as a file may hold it: on no cell
    MapSelection selection(0, 0, 2, 2);
    ASSERT_TRUE(ResizeMap(*doc, selection, 4, 2, ResizeAnchor::SouthWest));
    // x moves by 1, z by -1: the first row of cells falls off with the start on it.
    EXPECT_TRUE(grid.start.IsUnset());
    EXPECT_EQ(grid.start.texture, 77u);
    EXPECT_EQ(grid.enemies[0], map::CellRect(3, 1, 3, 1));
    EXPECT_TRUE(grid.enemies[1].IsUnset());
    EXPECT_EQ(selection, MapSelection(1, 0, 3, 1));
    // After a resize and a raise, undo takes back the raise, not the resize.
    ASSERT_TRUE(ResizeMap(*doc, selection, 5, 5, ResizeAnchor::NorthEast));
    const auto resized = std::make_unique<map::MapGrid>(grid);
    selection.applyTool(grid, doc->undoGrid, TOOL_RAISE, 2.0);
    ASSERT_TRUE(EditUndo(*doc, selection));
    EXPECT_TRUE(test::SameHeights(grid, *resized));
}

// The anchors, in the order NE, N, NO, E, C, O, SE, S, SO, keep the low end, the middle or the
// high end of x by their column and of z by their row: cells move by none, half (toward zero)
// or all of the change, and the start with its cell. A resize and back with the same anchor
// leaves the file as it was, except that cells the smaller size dropped come back with a new
// map's values and places on them stay unset.
RC_GTEST_PROP(Resize, AnchorsMoveCellsAndBackKeepsTheKeptCellsByteForByte, ()) {
    const std::int32_t oldX = *rc::gen::inRange(1, 13);
    const std::int32_t oldZ = *rc::gen::inRange(1, 13);
    const std::int32_t newX = *rc::gen::inRange(1, 13);
    const std::int32_t newZ = *rc::gen::inRange(1, 13);
    const int side = *rc::gen::inRange(0, 9);
    const auto anchor = static_cast<ResizeAnchor>(side);
    RC_ASSERT(AnchorNamed(AnchorName(anchor)) == anchor);
    auto grid = test::NewMap(oldX, oldZ);
    MarkCells(*grid);
    grid->start.Set(oldX - 1, 0, oldX - 1, 0);
    auto expected = std::make_unique<map::MapGrid>(*grid);
    const CellShift there{(newX - oldX) * (side % 3) / 2, (newZ - oldZ) * (side / 3) / 2};
    const auto resized = test::NewMap(newX, newZ);
    for (std::int32_t x = 0; x < oldX; ++x) {
        for (std::int32_t z = 0; z < oldZ; ++z) {
            if (!resized->InMap(x + there.dx, z + there.dz)) {
                expected->Cell(x, z) = resized->Cell(0, 0);
            }
        }
    }
    ResizeGrid(*grid, newX, newZ, anchor);
    const map::CellRect at(oldX - 1 + there.dx, there.dz, oldX - 1 + there.dx, there.dz);
    if (resized->InMap(at.x0, at.z0)) {
        RC_ASSERT(grid->start == at);
        RC_ASSERT(std::pair(grid->Cell(at.x0, at.z0).typet, grid->Cell(at.x0, at.z0).typew) ==
                  std::pair(oldX - 1, 0));
    } else {
        RC_ASSERT(grid->start.IsUnset());
        expected->start.Set(-1, -1, -1, -1);
    }
    ResizeGrid(*grid, oldX, oldZ, anchor);
    RC_ASSERT(mapfile::FormatMap(*grid) == mapfile::FormatMap(*expected));
}

}  // namespace
}  // namespace zandrel::tools
