#include "tools/EditSession.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/TerrainFixture.h"
#include "tools/EditCommands.h"
#include "tools/Placement.h"
#include "tools/ToolMode.h"
#include "tools/ToolState.h"

namespace zandrel::tools {
namespace {

constexpr std::uint32_t kLeft = EditSession::kLeftButton;
constexpr std::uint32_t kBoth = EditSession::kBothButtons;

EditSession::Picker Hit(std::int32_t x, std::int32_t z) {
    return [name = MapSelection::CellName(x, z)] { return name; };
}

const EditSession::Picker kMiss = [] { return -1; };

class EditSessionTest : public ::testing::Test {
protected:
    // A vertical tool drag of the raise tool on cell (2, 2) with the given pointer steps.
    double RaiseByDrag(std::int32_t viewHeight, std::int32_t steps, std::int32_t pixelsPerStep) {
        session.LeftDown(kLeft, {10, 500}, Hit(2, 2), *doc);
        session.toolState().toolMode = TOOL_RAISE;
        session.RightDown(kBoth, {10, 500}, *doc);
        std::int32_t y = 500;
        for (std::int32_t i = 0; i < steps; ++i) {
            y -= pixelsPerStep;
            session.Move(kBoth, {10, y}, {400, viewHeight}, kMiss, *doc);
        }
        return doc->mapGrid.Cell(2, 2).C;
    }

    // Whether an edit changed what a save writes, the test the document applies to every edit.
    template <typename Edit>
    bool Changes(Edit edit) {
        const auto before = std::make_unique<map::MapGrid>(doc->mapGrid);
        edit();
        return !doc->mapGrid.SameContent(*before);
    }

    std::unique_ptr<DocumentState> doc = test::NewDocument();
    EditSession session;
};

TEST_F(EditSessionTest, ClickAndDragSelectAndOnlyTheLeftButtonCasesPick) {
    int picks = 0;
    const EditSession::Picker counted = [&] {
        ++picks;
        return MapSelection::CellName(3, 4);
    };
    EXPECT_TRUE(session.LeftDown(kLeft, {0, 0}, counted, *doc).notifyViews);
    EXPECT_EQ(session.selection(), MapSelection(3, 4, 3, 4));
    session.Move(kLeft, {5, 5}, {400, 300}, Hit(6, 1), *doc);
    EXPECT_EQ(session.selection(), MapSelection(3, 1, 6, 4));
    // A miss during the drag keeps the block; Shift or no button picks nothing.
    session.Move(kLeft, {9, 9}, {400, 300}, kMiss, *doc);
    EXPECT_EQ(session.selection(), MapSelection(3, 1, 6, 4));
    session.Move(kLeft | EditSession::kShift, {9, 9}, {400, 300}, counted, *doc);
    session.Move(0, {9, 9}, {400, 300}, counted, *doc);
    EXPECT_EQ(picks, 1);
}

// A vertical drag over the whole view height raises by 100: slow steps of one pixel add up,
// exact fast ones stay as they were. The wheel applies the tool once per whole hundred.
TEST_F(EditSessionTest, ToolDragsAndTheWheelRaiseInWholeSteps) {
    EXPECT_DOUBLE_EQ(RaiseByDrag(500, 100, 1), 20.0);
    EXPECT_FALSE(Changes([&] { session.Wheel(60, *doc); }));
    session.Wheel(-240, *doc);
    EXPECT_DOUBLE_EQ(doc->mapGrid.Cell(2, 2).C, 18.0);
    doc = test::NewDocument();
    session = EditSession();
    EXPECT_DOUBLE_EQ(RaiseByDrag(200, 4, 50), 100.0);
}

TEST_F(EditSessionTest, ABrushStrokeIsOneHeldEditThatPaintsWithoutSelecting) {
    session.SelectCells(5, 5, 5, 5);
    session.SetBrushSlot(2);
    session.toolState().toolMode = TOOL_RAISE;
    session.ToggleBrush(BrushKind::Wall);
    const EditOutcome down = session.LeftDown(kLeft, {0, 0}, Hit(1, 1), *doc);
    EXPECT_TRUE(down.redraw && down.holdChange && !down.notifyViews);
    EXPECT_TRUE(session.Move(kLeft, {0, 0}, {400, 300}, Hit(3, 1), *doc).holdChange);
    // Right with left held applies no tool while the brush is on.
    EXPECT_FALSE(Changes([&] { session.RightDown(kBoth, {0, 0}, *doc); }));
    EXPECT_FALSE(session.LeftUp().holdChange);
    EXPECT_EQ(doc->mapGrid.Cell(2, 1).typew, 2);
    EXPECT_EQ(session.selection(), MapSelection(5, 5, 5, 5));
    EXPECT_FALSE(CanUndo(*doc));
    // The other brush takes its place; a tool, Escape or the same brush turns it off.
    session.ToggleBrush(BrushKind::Tile);
    session.ChooseTool(TOOL_RAISE, *doc);
    EXPECT_EQ(session.Brush(), BrushKind::Off);
    session.ToggleBrush(BrushKind::Tile);
    session.ToggleBrush(BrushKind::Tile);
    EXPECT_EQ(session.Brush(), BrushKind::Off);
}

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
