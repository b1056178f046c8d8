#include "tools/PanelAttributes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/TerrainFixture.h"
#include "tools/SelectionFigures.h"

namespace zandrel::tools {
namespace {

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

TEST(CommonValues, SharedWholeNumbersOfTheSelectionAreShown) {
    auto grid = Selected(-120.0, 12.0);
    EXPECT_EQ(CommonGravity(*grid), -120);
    EXPECT_EQ(CommonFriction(*grid), 12);
    EXPECT_EQ(CommonTileType(*grid), 0);
    EXPECT_EQ(CommonWallType(*grid), 1);
    // One different cell hides the value; cells outside the selection do not count.
    grid->Cell(4, 5).grav = -100.0;
    grid->Cell(3, 4).typew = 2;
    grid->Cell(5, 5).artr = 3.0;
    EXPECT_EQ(CommonGravity(*grid), kNoCommonValue);
    EXPECT_EQ(CommonWallType(*grid), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*grid), 12);
    // Fractions, a shared gravity of -1 (which reads as none), NaN and huge values show nothing.
    EXPECT_EQ(CommonGravity(*Selected(7.5, 7.0)), kNoCommonValue);
    EXPECT_EQ(CommonGravity(*Selected(-1.0, 7.0)), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*Selected(0.0, std::nan(""))), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*Selected(0.0, 1e12)), kNoCommonValue);
}

TEST(PanelButtons, WriteTheSelectedCellsOnlyAndNothingWithoutASelection) {
    auto grid = Selected(-160.0, 7.0);
    ApplyAttributes(*grid, 40, 15);
    for (const std::int32_t entry : {3, -1}) {  // -1: no current entry, which changes nothing
        ApplyTileTexture(*grid, entry);
        ApplyWallTexture(*grid, entry);
        ApplyEnemyTexture(*grid, entry);
    }
    EXPECT_EQ(CommonGravity(*grid), 40);
    EXPECT_EQ(CommonFriction(*grid), 15);
    EXPECT_EQ(CommonTileType(*grid), 3);
    EXPECT_EQ(CommonWallType(*grid), 3);
    EXPECT_EQ(grid->Enemys_Tex, 3);
    // Cells beside the block keep their values.
    EXPECT_EQ(grid->Cell(5, 5).grav, -160.0);
    EXPECT_EQ(grid->Cell(2, 2).artr, 7.0);
    EXPECT_EQ(grid->Cell(1, 3).typet, 0);
    auto unselected = test::NewMap();
    ApplyAttributes(*unselected, 40, 15);
    ApplyTileTexture(*unselected, 2);
    EXPECT_TRUE(unselected->SameContent(*test::NewMap()));
    EXPECT_EQ(CommonGravity(*unselected), kNoCommonValue);
    EXPECT_EQ(CommonTileType(*unselected), kNoCommonValue);
}

TEST(SelectionFigures, LowestHighestMeanAndSteepestCornerSlope) {
    auto grid = test::NewMap(4, 4);
    test::SetHeights(*grid, 1, 1, {0.0, 1.0, 0.0, 1.0, 9.0});  // 45 degrees along x
    test::SetHeights(*grid, 2, 1,
                     {-2.0, -2.0, std::sqrt(3.0) - 2, std::sqrt(3.0) - 2, 0.0});  // 60 in z
    const SelectionFigures figures = FiguresOf(*grid, map::CellRect{2, 1, 1, 1});
    ASSERT_TRUE(figures.any);
    EXPECT_EQ(figures.lowest, -2.0);
    EXPECT_EQ(figures.highest, 1.0);
    EXPECT_DOUBLE_EQ(figures.mean, (2.0 - 8.0 + 2 * std::sqrt(3.0)) / 8.0);
    EXPECT_NEAR(figures.steepestDegrees, 60.0, 1e-12);
    // The centre is no corner, and a flat block has no slope.
    EXPECT_EQ(FiguresOf(*grid, map::CellRect{0, 0, 0, 3}).steepestDegrees, 0.0);
    EXPECT_NEAR(FiguresOf(*grid, map::CellRect{1, 1, 1, 1}).steepestDegrees, 45.0, 1e-12);
    // Heights that are no numbers and cells off the map are left out.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    test::SetHeights(*grid, 3, 3, {nan, 3.0, 3.0, 3.0, 3.0});
    const SelectionFigures edge = FiguresOf(*grid, map::CellRect{3, 3, 7, 7});
    EXPECT_EQ(edge.lowest, 3.0);
    EXPECT_EQ(edge.mean, 3.0);
    EXPECT_EQ(edge.steepestDegrees, 0.0);
    EXPECT_FALSE(FiguresOf(*grid, map::CellRect{}).any);
}

}  // namespace
}  // namespace zandrel::tools
