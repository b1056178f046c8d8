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

TEST(CommonValues, SharedWholeNumbersAreShown) {
    auto grid = Selected(-120.0, 12.0);
    EXPECT_EQ(CommonGravity(*grid), -120);
    EXPECT_EQ(CommonFriction(*grid), 12);
}

TEST(CommonValues, OneDifferentCellHidesTheValue) {
    auto grid = Selected(-120.0, 12.0);
    grid->Cell(4, 5).grav = -100.0;
    EXPECT_EQ(CommonGravity(*grid), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*grid), 12);
    // Cells outside the selection do not count.
    grid->Cell(5, 5).artr = 3.0;
    EXPECT_EQ(CommonFriction(*grid), 12);
}

TEST(CommonValues, FractionsAndMinusOneAndNaNShowNothing) {
    EXPECT_EQ(CommonGravity(*Selected(7.5, 7.0)), kNoCommonValue);
    // A shared gravity of -1 reads the same as none.
    EXPECT_EQ(CommonGravity(*Selected(-1.0, 7.0)), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*Selected(0.0, std::nan(""))), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*Selected(0.0, 1e12)), kNoCommonValue);
}

TEST(CommonValues, TileAndWallTypes) {
    auto grid = Selected(0.0, 0.0);
    EXPECT_EQ(CommonTileType(*grid), 0);
    EXPECT_EQ(CommonWallType(*grid), 1);
    grid->Cell(3, 4).typew = 2;
    EXPECT_EQ(CommonWallType(*grid), kNoCommonValue);
}

TEST(CommonValues, NothingBeforeASelectionIsStored) {
    auto grid = test::NewMap();
    EXPECT_EQ(CommonGravity(*grid), kNoCommonValue);
    EXPECT_EQ(CommonFriction(*grid), kNoCommonValue);
    EXPECT_EQ(CommonTileType(*grid), kNoCommonValue);
    EXPECT_EQ(CommonWallType(*grid), kNoCommonValue);
}

TEST(Applica, WritesBothSlidersToEverySelectedCell) {
    auto grid = Selected(-160.0, 7.0);
    ApplyAttributes(*grid, 40, 15);
    EXPECT_EQ(grid->Cell(2, 3).grav, 40.0);
    EXPECT_EQ(grid->Cell(4, 5).artr, 15.0);
    EXPECT_EQ(CommonGravity(*grid), 40);
    EXPECT_EQ(grid->Cell(5, 5).grav, -160.0);
    EXPECT_EQ(grid->Cell(2, 2).artr, 7.0);
}

TEST(Applica, NothingBeforeASelectionIsStored) {
    auto grid = test::NewMap();
    ApplyAttributes(*grid, 40, 15);
    EXPECT_EQ(grid->Cell(0, 0).grav, -160.0);
}

TEST(TextureButtons, TileAndWallSetTheChosenEntryOnTheSelection) {
    auto grid = Selected(0.0, 0.0);
    ApplyTileTexture(*grid, 3);
    EXPECT_EQ(CommonTileType(*grid), 3);
    EXPECT_EQ(grid->Cell(1, 3).typet, 0);
    ApplyWallTexture(*grid, 2);
    EXPECT_EQ(CommonWallType(*grid), 2);
}

TEST(TextureButtons, NoCurrentEntryChangesNothing) {
    auto grid = Selected(0.0, 0.0);
    ApplyTileTexture(*grid, -1);
    ApplyWallTexture(*grid, -1);
    ApplyEnemyTexture(*grid, -1);
    EXPECT_EQ(CommonTileType(*grid), 0);
    EXPECT_EQ(CommonWallType(*grid), 1);
    EXPECT_EQ(grid->Enemys_Tex, 2);
}

TEST(TextureButtons, EnemySetsTheEnemyTextureSlot) {
    auto grid = test::NewMap();
    ApplyEnemyTexture(*grid, 0);
    EXPECT_EQ(grid->Enemys_Tex, 0);
}

}  // namespace
}  // namespace zandrel::tools
