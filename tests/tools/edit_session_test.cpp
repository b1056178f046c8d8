#include "tools/EditSession.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "support/TerrainFixture.h"
#include "tools/EditCommands.h"
#include "tools/Placement.h"
#include "tools/TextureStroke.h"
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
    // Two corners of the block, the two cells set above and two cells just beside it.
    const auto goals = [&] {
        const auto goal = [&](std::int32_t x, std::int32_t z) { return grid->Cell(x, z).goal; };
        return std::array{goal(2, 2), goal(6, 2), goal(3, 3), goal(6, 3), goal(7, 3), goal(2, 4)};
    };
    ToggleGoal(*grid);
    EXPECT_EQ(goals(), (std::array{1, 1, 0, 0, 0, 0}));
    ToggleGoal(*grid);
    EXPECT_EQ(goals(), (std::array{0, 0, 1, 1, 0, 0}));
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

using Cells = std::vector<std::pair<std::int32_t, std::int32_t>>;

Cells OnLine(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1) {
    Cells cells;
    ForCellsOnLine(x0, z0, x1, z1, [&](std::int32_t x, std::int32_t z) {
        cells.push_back({x, z});
    });
    return cells;
}

TEST(CellLine, VisitsTheCellsTheLineCrosses) {
    EXPECT_EQ(OnLine(0, 0, 3, 1), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 1}}));
    // Through a vertex exactly: x first.
    EXPECT_EQ(OnLine(2, 2, 0, 0), (Cells{{2, 2}, {1, 2}, {1, 1}, {0, 1}, {0, 0}}));
}

// Any two cells: the walk starts and ends there and each step goes to an edge neighbour.
RC_GTEST_PROP(CellLine, IsAGaplessWalkAlongTheLine, ()) {
    const auto [x0, z0, x1, z1] = *rc::gen::tuple(rc::gen::inRange(0, 50), rc::gen::inRange(0, 50),
                                                  rc::gen::inRange(0, 50), rc::gen::inRange(0, 50));
    const Cells cells = OnLine(x0, z0, x1, z1);
    RC_ASSERT(cells.front() == std::pair(x0, z0));
    RC_ASSERT(cells.back() == std::pair(x1, z1));
    RC_ASSERT(cells.size() == static_cast<std::size_t>(std::abs(x1 - x0) + std::abs(z1 - z0) + 1));
    for (std::size_t i = 1; i < cells.size(); ++i) {
        RC_ASSERT(std::abs(cells[i].first - cells[i - 1].first) +
                      std::abs(cells[i].second - cells[i - 1].second) ==
                  1);
    }
}

// A stroke paints only the texture it carries: no height and no cell off the stroke changes.
RC_GTEST_PROP(TextureStroke, ChangesOnlyItsTextureOnItsCells, ()) {
    auto grid = test::NewMap(*rc::gen::inRange(1, 20), *rc::gen::inRange(1, 20));
    const auto before = std::make_unique<map::MapGrid>(*grid);
    const bool tile = *rc::gen::arbitrary<bool>();
    TextureStroke stroke(tile ? BrushKind::Tile : BrushKind::Wall, 7);
    // Cells under the pointer, as picks name them, or -1 off the terrain.
    const auto anyCell = rc::gen::map(
        rc::gen::pair(rc::gen::inRange(0, grid->SizeX), rc::gen::inRange(0, grid->SizeZ)),
        [](auto xz) { return xz.second * 100 + xz.first; });
    const auto names =
        *rc::gen::container<std::vector<std::int32_t>>(rc::gen::oneOf(rc::gen::just(-1), anyCell));
    Cells reached;
    std::int32_t last = -1;
    for (const std::int32_t name : names) {
        stroke.Reach(*grid, name);
        if (name >= 0) {
            const std::int32_t from = last >= 0 ? last : name;
            ForCellsOnLine(from % 100, from / 100, name % 100, name / 100,
                           [&](std::int32_t x, std::int32_t z) {
                               reached.push_back({x, z});
                           });
        }
        last = name;
    }
    for (const auto& [x, z] : reached) {
        map::MapCell& cell = before->Cell(x, z);
        (tile ? cell.typet : cell.typew) = 7;
    }
    RC_ASSERT(grid->SameContent(*before));
}

}  // namespace
}  // namespace zandrel::tools
