#include "tools/OverviewRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "map/MapGrid.h"
#include "support/TerrainFixture.h"
#include "tools/ColourRamp.h"
#include "tools/ContourLines.h"
#include "tools/PanelAttributes.h"
#include "tools/SelectionFigures.h"

namespace zandrel::tools {
namespace {

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

TEST_F(OverviewRowsTest, AChangedCellRedrawsItsRowAndTheOneBefore) {
    struct Case {
        int x, z;
        void (*edit)(map::MapCell&);
        Rows expected;
    };
    const Case cases[] = {
        {4, 7, [](map::MapCell& c) { c.C = 1.0; }, {6, 7}},
        {4, 0, [](map::MapCell& c) { c.NE = -1.0; }, {0}},
        {2, 5, [](map::MapCell& c) { c.goal = 1; }, {4, 5}},
        // Textures and physics do not show.
        {2, 5, [](map::MapCell& c) { c.typet = 2; }, {}},
        {2, 5, [](map::MapCell& c) { c.grav = 3.0; }, {}},
    };
    for (const Case& c : cases) {
        c.edit(grid->Cell(c.x, c.z));
        const OverviewRows::Changes changes = rows.Update(*grid);
        EXPECT_FALSE(changes.whole) << c.x << ", " << c.z;
        EXPECT_EQ(changes.rows, c.expected) << c.x << ", " << c.z;
    }

    grid->Cell(1, 3).goal = 1;
    grid->Cell(1, 4).goal = 1;
    EXPECT_EQ(rows.Update(*grid).rows, (Rows{2, 3, 4}));
}

TEST_F(OverviewRowsTest, ANewHeightRangeOrSizeRedrawsEverything) {
    grid->SetCellHeight(3, 3, 5.0);
    OverviewRows::Changes changes = rows.Update(*grid);
    EXPECT_TRUE(changes.whole);
    EXPECT_EQ(changes.rows, (Rows{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(rows.HeightRange(), (ValueRange{-2.0, 5.0}));

    grid->SizeZ = 4;
    changes = rows.Update(*grid);
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

// A cell's colour is the ramp's at the mean of its five heights.
TEST(OverviewRows, ColoursFollowTheHeightRamp) {
    map::MapCell cell;
    cell.NE = cell.NO = cell.SE = cell.SO = 1.0;
    cell.C = 6.0;
    EXPECT_EQ(OverviewRows::CellColour(cell, {-2.0, 2.0}), RampColour(1.0));
    cell.C = -14.0;
    EXPECT_EQ(OverviewRows::CellColour(cell, {-2.0, 2.0}), RampColour(0.0));
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
    for (const int level : {-10, -3, 0, 1, 5, 7}) {
        EXPECT_EQ((ContourSegment{{}, {}, level}).IsIndexLevel(), level % 5 == 0) << level;
    }
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

TEST(CommonValues, SharedWholeNumbersOfTheSelectionAreShown) {
    auto grid = Selected(-120.0, 12.0);
    EXPECT_EQ(ShownOf(*grid), (Shown{-120, 12, 0, 1}));
    // One different cell hides the value; cells outside the selection do not count.
    grid->Cell(4, 5).grav = -100.0;
    grid->Cell(3, 4).typew = 2;
    grid->Cell(5, 5).artr = 3.0;
    EXPECT_EQ(ShownOf(*grid), (Shown{kNone, 12, 0, kNone}));
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
    // The centre is no corner, and a flat block has no slope.
    EXPECT_EQ(FiguresOf(*grid, map::CellRect{0, 0, 0, 3}).steepestDegrees, 0.0);
    EXPECT_NEAR(FiguresOf(*grid, map::CellRect{1, 1, 1, 1}).steepestDegrees, 45.0, 1e-12);
    // Heights that are no numbers and cells off the map are left out.
    test::SetHeights(*grid, 3, 3, {kNaN, 3.0, 3.0, 3.0, 3.0});
    const SelectionFigures edge = FiguresOf(*grid, map::CellRect{3, 3, 7, 7});
    EXPECT_EQ(std::tuple(edge.lowest, edge.mean, edge.steepestDegrees), std::tuple(3.0, 3.0, 0.0));
    EXPECT_FALSE(FiguresOf(*grid, map::CellRect{}).any);
}

}  // namespace
}  // namespace zandrel::tools
