#include "tools/Placement.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TerrainFixture.h"
#include "tools/ToolState.h"

namespace zandrel::tools {
namespace {

MapSelection Cell(std::int32_t x, std::int32_t z) {
    return {x, z, x, z};
}

TEST(ToolState, TiltOnlyForNonSquaresPyramidOnlyForSquaresFlattenAppliesWhenChosen) {
    for (const std::int32_t mode : {TOOL_TILT, TOOL_PYRAMID, TOOL_RAISE}) {
        EXPECT_EQ(ToolState::isToolEnabled(mode, {2, 2, 4, 4}), mode != TOOL_TILT) << mode;
        EXPECT_EQ(ToolState::isToolEnabled(mode, {2, 3, 4, 4}), mode != TOOL_PYRAMID) << mode;
    }
    auto doc = test::NewDocument();
    MapSelection s(2, 2, 4, 4);
    doc->mapGrid.Cell(3, 3).NE = 4.0;
    ToolState tools;
    tools.chooseTool(TOOL_RAISE, s, *doc);
    EXPECT_TRUE(tools.isChecked(TOOL_RAISE));
    EXPECT_FALSE(s.undoSaved);
    tools.chooseTool(TOOL_FLATTEN, s, *doc);
    EXPECT_TRUE(tools.isChecked(TOOL_FLATTEN));
    EXPECT_TRUE(s.undoSaved);
    EXPECT_EQ(doc->mapGrid.Cell(2, 2).C, 4.0);
}

TEST(Goal, TogglesTheStoredSelectionAndTwiceRestoresEveryFlag) {
    auto grid = test::NewMap();
    ToggleGoal(*grid);  // no stored selection yet: nothing changes
    EXPECT_TRUE(grid->SameContent(*test::NewMap()));
    grid->Cell(3, 3).goal = 1;
    grid->Cell(6, 3).goal = 2;  // a stored 2 from a file becomes 0
    grid->SetSelection(2, 2, 6, 3);
    ToggleGoal(*grid);
    EXPECT_EQ(grid->Cell(2, 2).goal, 1);
    EXPECT_EQ(grid->Cell(6, 2).goal, 1);
    EXPECT_EQ(grid->Cell(3, 3).goal, 0);
    EXPECT_EQ(grid->Cell(6, 3).goal, 0);
    EXPECT_EQ(grid->Cell(7, 3).goal + grid->Cell(2, 4).goal, 0);
    ToggleGoal(*grid);
    EXPECT_EQ(grid->Cell(2, 2).goal, 0);
    EXPECT_EQ(grid->Cell(3, 3).goal, 1);
}

// Each click returns to the previous tool; enemies take the four slots in turn, the fifth
// replacing the first. Chosen twice without a click, a placement is off again; the start
// chosen during enemy placement places both at the next click.
TEST(Placement, ClickPlacesTheStartThenEnemiesInTurn) {
    auto doc = test::NewDocument(20, 20);
    ToolState tools;
    tools.toolMode = TOOL_RAISE;
    tools.toggleEnemyPlacement();
    tools.toggleEnemyPlacement();
    tools.placeOnClick(Cell(1, 1), *doc);
    EXPECT_TRUE(doc->mapGrid.enemies[0].IsUnset());
    tools.toggleStartPlacement();
    EXPECT_TRUE(tools.isChecked(TOOL_PLACE_START));
    tools.placeOnClick(Cell(12, 14), *doc);
    EXPECT_EQ(doc->mapGrid.start, (map::CellRect{12, 14, 12, 14}));
    EXPECT_EQ(tools.toolMode, TOOL_RAISE);
    for (std::int32_t k = 1; k <= 5; ++k) {
        tools.toggleEnemyPlacement();
        tools.placeOnClick(Cell(k, 2 * k), *doc);
    }
    const map::CellRect expected[] = {{5, 10, 5, 10}, {2, 4, 2, 4}, {3, 6, 3, 6}, {4, 8, 4, 8}};
    EXPECT_TRUE(std::ranges::equal(doc->mapGrid.enemies, expected));
    EXPECT_EQ(doc->nextEnemySlot, 1);
    EXPECT_EQ(tools.toolMode, TOOL_RAISE);
    tools.toggleEnemyPlacement();
    tools.toggleStartPlacement();
    tools.placeOnClick(Cell(3, 7), *doc);
    EXPECT_EQ(doc->mapGrid.start, (map::CellRect{3, 7, 3, 7}));
    EXPECT_EQ(doc->mapGrid.enemies[1], (map::CellRect{3, 7, 3, 7}));
    EXPECT_EQ(tools.toolMode, TOOL_PLACE_ENEMY);
    // A click whose cell lies outside the map (a miss keeps a new view's first cell, 25, 25)
    // places nothing and leaves the placement pending.
    tools.placeOnClick(Cell(25, 25), *doc);
    EXPECT_EQ(doc->mapGrid.enemies[2], expected[2]);
    EXPECT_EQ(tools.toolMode, TOOL_PLACE_ENEMY);
    // A slot outside the cycle restarts at the first.
    std::int32_t slot = 9;
    PlaceEnemy(doc->mapGrid, slot, Cell(2, 2));
    EXPECT_EQ(doc->mapGrid.enemies[0], (map::CellRect{2, 2, 2, 2}));
    EXPECT_EQ(slot, 1);
}

}  // namespace
}  // namespace zandrel::tools
