#include "tools/OverviewRows.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/TerrainFixture.h"

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
    EXPECT_TRUE(rows.Update(*grid).rows.empty());

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

}  // namespace
}  // namespace zandrel::tools
