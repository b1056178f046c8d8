#include "tools/Placement.h"

#include <gtest/gtest.h>

#include "support/TerrainFixture.h"
#include "tools/ToolState.h"

namespace zandrel::tools {
namespace {

MapSelection Clicked(std::int32_t x, std::int32_t z) {
    MapSelection s;
    s.setFromHits(MapSelection::CellName(x, z), MapSelection::CellName(x, z));
    return s;
}

TEST(Goal, TogglesTheStoredSelectionAndTwiceRestoresEveryFlag) {
    auto grid = test::NewMap();
    const auto untouched = *grid;
    ToggleGoal(*grid);  // no stored selection yet: nothing changes
    EXPECT_TRUE(grid->SameContent(untouched));
    grid->Cell(3, 3).goal = 1;
    grid->Cell(6, 6).goal = 2;  // a stored 2 from a file becomes 0
    grid->SetSelection(2, 2, 6, 3);
    ToggleGoal(*grid);
    EXPECT_EQ(grid->Cell(2, 2).goal, 1);
    EXPECT_EQ(grid->Cell(3, 3).goal, 0);
    EXPECT_EQ(grid->Cell(6, 3).goal, 1);
    EXPECT_EQ(grid->Cell(7, 3).goal, 0);
    EXPECT_EQ(grid->Cell(2, 4).goal, 0);
    grid->SetSelection(6, 6, 6, 6);
    ToggleGoal(*grid);
    EXPECT_EQ(grid->Cell(6, 6).goal, 0);
    grid->SetSelection(2, 2, 6, 3);
    ToggleGoal(*grid);
    EXPECT_EQ(grid->Cell(2, 2).goal, 0);
    EXPECT_EQ(grid->Cell(3, 3).goal, 1);
}

TEST(Start, ClickPlacesTheStartAndReturnsToThePreviousTool) {
    auto doc = test::NewDocument(50, 50);
    ToolState tools;
    tools.toolMode = TOOL_RAISE;
    tools.toggleStartPlacement();
    EXPECT_TRUE(tools.isChecked(TOOL_PLACE_START));
    tools.placeOnClick(Clicked(12, 40), *doc);
    EXPECT_EQ(doc->mapGrid.start, (map::CellRect{12, 40, 12, 40}));
    EXPECT_EQ(tools.toolMode, TOOL_RAISE);
}

TEST(Enemy, FifthEnemyReplacesTheFirst) {
    auto doc = test::NewDocument(20, 20);
    ToolState tools;
    for (std::int32_t k = 1; k <= 5; ++k) {
        tools.toggleEnemyPlacement();
        tools.placeOnClick(Clicked(k, 2 * k), *doc);
    }
    EXPECT_EQ(doc->mapGrid.enemies[0], (map::CellRect{5, 10, 5, 10}));
    EXPECT_EQ(doc->mapGrid.enemies[1], (map::CellRect{2, 4, 2, 4}));
    EXPECT_EQ(doc->mapGrid.enemies[2], (map::CellRect{3, 6, 3, 6}));
    EXPECT_EQ(doc->mapGrid.enemies[3], (map::CellRect{4, 8, 4, 8}));
    EXPECT_EQ(doc->nextEnemySlot, 1);
    EXPECT_EQ(tools.toolMode, TOOL_NONE);
}

TEST(Enemy, ChosenTwiceWithoutAClickPlacesNothing) {
    auto doc = test::NewDocument();
    ToolState tools;
    tools.toolMode = TOOL_TILT;
    tools.toggleEnemyPlacement();
    tools.toggleEnemyPlacement();
    EXPECT_EQ(tools.toolMode, TOOL_TILT);
    tools.placeOnClick(Clicked(1, 1), *doc);
    EXPECT_TRUE(doc->mapGrid.enemies[0].IsUnset());
    EXPECT_EQ(doc->nextEnemySlot, 0);
}

TEST(Enemy, StartChosenDuringEnemyPlacementPlacesBothAndEnemyStaysCurrent) {
    auto doc = test::NewDocument();
    ToolState tools;
    tools.toggleEnemyPlacement();
    tools.toggleStartPlacement();
    tools.placeOnClick(Clicked(3, 7), *doc);
    EXPECT_EQ(doc->mapGrid.start, (map::CellRect{3, 7, 3, 7}));
    EXPECT_EQ(doc->mapGrid.enemies[0], (map::CellRect{3, 7, 3, 7}));
    EXPECT_EQ(tools.toolMode, TOOL_PLACE_ENEMY);
}

TEST(Enemy, SlotOutsideTheCycleRestartsAtTheFirst) {
    auto grid = test::NewMap();
    std::int32_t slot = 9;
    PlaceEnemy(*grid, slot, Clicked(2, 2));
    EXPECT_EQ(grid->enemies[0], (map::CellRect{2, 2, 2, 2}));
    EXPECT_EQ(slot, 1);
}

}  // namespace
}  // namespace zandrel::tools
