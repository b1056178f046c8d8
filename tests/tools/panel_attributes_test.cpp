#include "tools/PanelAttributes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/TerrainFixture.h"

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

}  // namespace
}  // namespace zandrel::tools
