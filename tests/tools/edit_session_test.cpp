#include "tools/EditSession.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "mapfile/MapWriter.h"
#include "support/TerrainFixture.h"
#include "tools/EditCommands.h"
#include "tools/EditHistory.h"
#include "tools/EditNames.h"
#include "tools/MapResize.h"
#include "tools/PanelAttributes.h"
#include "tools/Placement.h"
#include "tools/TextureArchive.h"
#include "tools/TextureStroke.h"
#include "tools/ToolMode.h"
#include "tools/ToolState.h"

namespace zandrel::tools {
namespace {

EditSession::Picker Hit(std::int32_t x, std::int32_t z) {
    return [name = MapSelection::CellName(x, z)] { return name; };
}

const EditSession::Picker kMiss = [] { return -1; };

// A vertical drag over the whole view height raises by 100 at any speed: what a move of one
// pixel in 500 leaves over carries to the next (a fast drag, in whole steps, is the view's
// test). The wheel applies the tool once per whole hundred of its turn, so a turn below a
// hundred does nothing (notches of 120 are the view's test).
TEST(EditSession, ToolDragsCarryTheirRemainderAndTheWheelStepsByWholeHundreds) {
    auto doc = test::NewDocument();
    EditSession session;
    session.LeftDown(EditSession::kLeftButton, {10, 500}, Hit(2, 2), *doc);
    session.toolState().toolMode = TOOL_RAISE;
    session.RightDown(EditSession::kBothButtons, {10, 500}, *doc);
    for (std::int32_t y = 499; y >= 400; --y) {
        session.Move(EditSession::kBothButtons, {10, y}, {400, 500}, kMiss, *doc);
    }
    EXPECT_DOUBLE_EQ(doc->mapGrid.Cell(2, 2).C, 20.0);
    session.Wheel(60, *doc);
    EXPECT_DOUBLE_EQ(doc->mapGrid.Cell(2, 2).C, 20.0);
}

// A press that hits no cell leaves no anchor, so the drag after it selects nothing; a drag from
// a cell stretches the block, a miss on the way keeping the block and hovering the anchor again.
// The wheel applies only a terrain tool (an enemy wheel would show in cell 3, 1), each notch
// once and each selection as an undo step of its own. In a view without height a tool drag
// changes nothing.
TEST(EditSession, DragsStretchFromAHitAndTheWheelStepsPerSelection) {
    auto doc = test::NewDocument();
    EditSession session;
    const MapSelection first = session.selection();
    session.LeftDown(EditSession::kLeftButton, {0, 0}, kMiss, *doc);
    EXPECT_EQ(session.AnchorHit(), -1);
    session.Move(EditSession::kLeftButton, {5, 5}, {400, 300}, Hit(4, 4), *doc);
    EXPECT_EQ(session.selection(), first);
    session.LeftUp();
    session.LeftDown(EditSession::kLeftButton, {0, 0}, Hit(3, 4), *doc);
    session.Move(EditSession::kLeftButton, {5, 5}, {400, 300}, Hit(6, 1), *doc);
    session.Move(EditSession::kLeftButton, {9, 9}, {400, 300}, kMiss, *doc);
    EXPECT_EQ(session.selection(), MapSelection(3, 1, 6, 4));
    EXPECT_EQ(session.HoverHit(), MapSelection::CellName(3, 4));
    session.toolState().toolMode = TOOL_PLACE_ENEMY;
    session.Wheel(120, *doc);
    session.toolState().toolMode = TOOL_RAISE;
    session.Wheel(120, *doc);
    session.SelectCells(8, 8, 8, 8);
    session.Wheel(-240, *doc);
    EXPECT_EQ(doc->mapGrid.Cell(8, 8).C, -2.0);
    session.Undo(*doc);
    EXPECT_EQ(std::pair(doc->mapGrid.Cell(8, 8).C, doc->mapGrid.Cell(3, 1).C), std::pair(0.0, 1.0));
    session.RightDown(EditSession::kBothButtons, {10, 10}, *doc);
    session.Move(EditSession::kBothButtons, {10, 0}, {400, 0}, kMiss, *doc);
    EXPECT_EQ(doc->mapGrid.Cell(8, 8).C, 0.0);
}

// A brush stroke paints its texture on the cells between the pointer's positions, a miss
// breaking the line, and changes nothing else: no height (right with left held applies no tool
// while the brush is on), no undo, no selection. The other brush takes its place and the same
// brush again turns it off; a tool that applies when chosen applies at once, others do not.
// (That the stroke is one change, told at its end, and that a tool or Escape turns the brush
// off, are the view's test.)
TEST(EditSession, ABrushStrokeBreaksAtAMissAndPaintsNothingElse) {
    auto doc = test::NewDocument();
    EditSession session;
    session.SelectCells(5, 5, 5, 5);
    doc->mapGrid.Cell(5, 5).NE = 4.0;
    session.SetBrushSlot(2);
    session.toolState().toolMode = TOOL_FLATTEN;
    session.ToggleBrush(BrushKind::Wall);
    const auto expected = std::make_unique<map::MapGrid>(doc->mapGrid);
    session.LeftDown(EditSession::kLeftButton, {0, 0}, Hit(1, 1), *doc);
    for (const auto& pick : {Hit(3, 1), kMiss, Hit(3, 3)}) {
        session.Move(EditSession::kLeftButton, {0, 0}, {400, 300}, pick, *doc);
    }
    session.RightDown(EditSession::kBothButtons, {0, 0}, *doc);
    session.LeftUp();
    for (const auto& [x, z] :
         {std::pair(1, 1), std::pair(2, 1), std::pair(3, 1), std::pair(3, 3)}) {
        expected->Cell(x, z).typew = 2;
    }
    EXPECT_TRUE(doc->mapGrid.SameContent(*expected));
    EXPECT_EQ(session.selection(), MapSelection(5, 5, 5, 5));
    session.ToggleBrush(BrushKind::Tile);
    EXPECT_EQ(session.Brush(), BrushKind::Tile);
    session.ToggleBrush(BrushKind::Tile);
    EXPECT_EQ(session.Brush(), BrushKind::Off);
    session.ChooseTool(TOOL_RAISE, *doc);
    EXPECT_FALSE(CanUndo(*doc));
    session.ChooseTool(TOOL_FLATTEN, *doc);
    EXPECT_EQ(doc->mapGrid.Cell(5, 5).C, 4.0);
}

MapSelection Cell(std::int32_t x, std::int32_t z) {
    return {x, z, x, z};
}

// Tilt wants a block that is no square, the pyramid a square; the other tools take any.
TEST(ToolState, TiltOnlyForNonSquaresPyramidOnlyForSquares) {
    for (const std::int32_t mode : {TOOL_TILT, TOOL_PYRAMID, TOOL_RAISE}) {
        EXPECT_EQ(ToolState::isToolEnabled(mode, {2, 2, 4, 4}), mode != TOOL_TILT) << mode;
        EXPECT_EQ(ToolState::isToolEnabled(mode, {2, 3, 4, 4}), mode != TOOL_PYRAMID) << mode;
    }
}

// Each cell's flag flips, a stored 2 counting as set; before a view has stored a selection
// nothing changes. (That it is the stored selection and not the view's is the view's test.)
TEST(Goal, FlipsEveryFlagOfTheStoredSelection) {
    auto grid = test::NewMap();
    ToggleGoal(*grid);  // no stored selection yet: nothing changes
    EXPECT_TRUE(grid->SameContent(*test::NewMap()));
    grid->Cell(3, 3).goal = 1;
    grid->Cell(6, 3).goal = 2;  // a stored 2 from a file becomes 0
    grid->SetSelection(2, 2, 6, 3);
    ToggleGoal(*grid);
    // Two corners of the block, the two cells set above and two cells just beside it.
    const auto goal = [&](std::int32_t x, std::int32_t z) { return grid->Cell(x, z).goal; };
    EXPECT_EQ((std::array{goal(2, 2), goal(6, 2), goal(3, 3), goal(6, 3), goal(7, 3), goal(2, 4)}),
              (std::array{1, 1, 0, 0, 0, 0}));
}

// Each click returns to the previous tool; enemies take the four slots in turn, the fifth
// replacing the first. Chosen twice without a click, a placement is off again; the start chosen
// during enemy placement places both at the next click. (That a click places the start or an
// enemy on its cell is the view's and the script's test.)
TEST(Placement, EnemiesTakeTheSlotsInTurnAndEachClickReturnsToThePreviousTool) {
    auto doc = test::NewDocument(20, 20);
    ToolState tools;
    tools.toolMode = TOOL_RAISE;
    tools.toggleEnemyPlacement();
    tools.toggleEnemyPlacement();
    tools.placeOnClick(Cell(1, 1), *doc);
    EXPECT_TRUE(doc->mapGrid.enemies[0].IsUnset());
    for (std::int32_t k = 1; k <= 5; ++k) {
        tools.toggleEnemyPlacement();
        tools.placeOnClick(Cell(k, 2 * k), *doc);
    }
    const map::CellRect expected[] = {{5, 10, 5, 10}, {2, 4, 2, 4}, {3, 6, 3, 6}, {4, 8, 4, 8}};
    EXPECT_TRUE(std::ranges::equal(doc->mapGrid.enemies, expected));
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

// One generated edit; its numbers are taken modulo what they choose from.
struct Op {
    int kind, a, b, c, d;
};

std::ostream& operator<<(std::ostream& out, const Op& op) {
    return out << '{' << op.kind << ' ' << op.a << ' ' << op.b << ' ' << op.c << ' ' << op.d << '}';
}

constexpr std::int32_t kTools[] = {TOOL_RAISE,     TOOL_FLATTEN, TOOL_LEVEL,
                                   TOOL_LANDSLIDE, TOOL_TILT,    TOOL_PYRAMID};

// One map window's edits, recorded as the document records them: named by the session's
// outcome, or by the panel button, and the map's stored selection refreshed after each as the
// view's next frame stores it.
class EditRun {
public:
    EditRun(std::int32_t sizeX, std::int32_t sizeZ) : doc(test::NewDocument(sizeX, sizeZ)) {}

    void Do(const Op& op) {
        map::MapGrid& grid = doc->mapGrid;
        const auto x = [&](int v) { return v % std::max(grid.SizeX, 1); };
        const auto z = [&](int v) { return v % std::max(grid.SizeZ, 1); };
        *before_ = grid;
        EditOutcome outcome;
        std::string_view name = kUnnamedEdit;
        switch (op.kind) {
            case 0:
                session.SelectCells(x(op.a), z(op.b), x(op.c), z(op.d));
                break;
            case 1:
                outcome = session.UseTool(kTools[op.a % 6], op.c % 7 - 3, *doc);
                break;
            case 2:
                outcome = session.Wheel(static_cast<std::int16_t>(120 * (op.c % 3 - 1)), *doc);
                break;
            case 3:
                outcome = session.ToggleGoal(*doc);
                break;
            case 4:
                op.d % 2 ? session.ToggleEnemyPlacement() : session.ToggleStartPlacement();
                outcome = session.ClickCell(x(op.a), z(op.b), *doc);
                break;
            case 5:
                ApplyAttributes(grid, op.a * 6 - 150, 2 + op.b % 19);
                name = kApplyName;
                break;
            case 6: {
                constexpr std::string_view kNames[] = {kTileName, kWallName, kEnemyTextureName};
                constexpr decltype(&ApplyTileTexture) kApply[] = {
                    ApplyTileTexture, ApplyWallTexture, ApplyEnemyTexture};
                kApply[op.d % 3](grid, op.a % 4);
                name = kNames[op.d % 3];
                break;
            }
            case 7:
                session.Copy(*doc, *clipboard);
                break;
            case 8:
                outcome = op.a % 3 == 0   ? session.Cut(*doc, *clipboard)
                          : op.a % 3 == 1 ? session.Paste(*doc, *clipboard)
                                          : session.Merge(*doc, *clipboard);
                break;
            case 9:
                outcome = session.Undo(*doc);
                break;
            case 10: {
                // Three or four slots, so a slot may fall out of use with its name kept.
                std::vector<std::string> list{
                    "tile.jpg", std::to_string(op.a) + ".jpg",
                    std::string(static_cast<std::size_t>(op.b % 119), 'n')};
                list.resize(3 + op.c % 2, "wall.jpg");
                StoreTextureList(grid, list);
                name = kRefreshTexturesName;
                break;
            }
            case 11:
                RC_ASSERT(ResizeMap(*doc, session.selection(), 1 + op.a % 16, 1 + op.b % 16,
                                    static_cast<ResizeAnchor>(op.c % 9))
                              .ok());
                name = kMapSizeName;
                break;
            case 12: {
                const std::int32_t cells[] = {MapSelection::CellName(x(op.a), z(op.b)),
                                              MapSelection::CellName(x(op.c), z(op.d))};
                outcome = session.PaintStroke(op.d % 2 ? BrushKind::Tile : BrushKind::Wall,
                                              op.a % 4, cells, *doc);
                break;
            }
            default:
                // A size change that leaves the cells where they are, as a file of another
                // size read over the map would: cells beyond the map stay in storage, and tools
                // on a selection that now lies outside it change them where no save looks.
                grid.SizeX = 1 + op.a % map::kMaxMapSize;
                grid.SizeZ = 1 + op.b % map::kMaxMapSize;
                break;
        }
        Record(outcome, name);
    }

    EditOutcome ReturnTo(std::uint64_t number) {
        *before_ = doc->mapGrid;
        EditOutcome outcome = session.ReturnTo(history, number, *doc);
        Record(outcome, kUnnamedEdit);
        return outcome;
    }

    std::unique_ptr<DocumentState> doc;
    std::unique_ptr<map::MapGrid> clipboard = std::make_unique<map::MapGrid>();
    EditSession session;
    EditHistory history;

private:
    void Record(const EditOutcome& outcome, std::string_view name) {
        session.StoreSelection(doc->mapGrid);
        const EditLabel label{outcome.name.empty() ? name : std::string_view(outcome.name), 1,
                              outcome.undoStep};
        history.Record(*before_, doc->mapGrid, label, EditHistory::Clock::now());
    }

    std::unique_ptr<map::MapGrid> before_ = std::make_unique<map::MapGrid>();
};

// Going back to any entry, from wherever the map has got to (returns included), gives the
// content a replay of the edits up to that entry gives, bit for bit, and so the same file;
// Annulla right after a return gives back the heights from before it.
RC_GTEST_PROP(EditHistory, ReturnToEachEntrySavesWhatAReplayUpToItSaves, ()) {
    const auto sizeX = *rc::gen::inRange(1, 17);
    const auto sizeZ = *rc::gen::inRange(1, 17);
    const auto count = *rc::gen::inRange<std::size_t>(0, 40);
    const auto any = rc::gen::inRange(0, 1000);
    const auto ops = *rc::gen::container<std::vector<Op>>(
        count, rc::gen::construct<Op>(rc::gen::inRange(0, 14), any, any, any, any));
    const auto limit = *rc::gen::inRange(3, 60);

    EditRun run(sizeX, sizeZ);
    run.history.SetLimit(static_cast<std::size_t>(limit));
    // How many edits each entry's state comes after.
    std::map<std::uint64_t, std::size_t> editsUpTo;
    for (std::size_t i = 0; i < ops.size(); ++i) {
        run.Do(ops[i]);
        if (!run.history.Entries().empty()) {
            editsUpTo[run.history.Entries().back().number] = i + 1;
        }
    }
    const auto& entries = run.history.Entries();
    RC_ASSERT(run.history.Bytes() == std::accumulate(entries.begin(), entries.end(), std::size_t{0},
                                                     [](std::size_t sum, const HistoryEntry& e) {
                                                         return sum + e.Bytes();
                                                     }));
    RC_ASSERT(run.history.Entries().size() <= static_cast<std::size_t>(limit));

    EditRun replay(sizeX, sizeZ);
    std::size_t replayed = 0;
    for (const auto& [number, edits] : editsUpTo) {
        while (replayed < edits) {
            replay.Do(ops[replayed++]);
        }
        if (run.history.Find(number) == nullptr) {
            continue;
        }
        const auto gridBefore = std::make_unique<map::MapGrid>(run.doc->mapGrid);
        RC_ASSERT(run.ReturnTo(number).name == ReturnName(number));
        RC_ASSERT(mapfile::FormatMap(run.doc->mapGrid) == mapfile::FormatMap(replay.doc->mapGrid));
        RC_ASSERT(run.doc->mapGrid.SameContent(replay.doc->mapGrid));
        // A return that changes nothing a save holds, bit for bit, is no entry.
        RC_ASSERT((run.history.Entries().back().name == ReturnName(number)) ==
                  !run.doc->mapGrid.SameContent(*gridBefore));
        RC_ASSERT(!run.session.Undo(*run.doc).name.empty());
        RC_ASSERT(test::SameHeights(run.doc->mapGrid, *gridBefore));
    }
}

// One entry per undo step of a tool, and one per other command that changed the map. (Where a
// merged entry leaves the map is the property's above; the cells an entry names, the script's
// history test.)
TEST(EditHistory, AStrokeOnOneSelectionIsOneEntry) {
    EditRun run(map::kMaxMapSize, map::kMaxMapSize);
    run.Do({0, 2, 2, 4, 4});
    run.Do({1, 0, 0, 4, 0});  // raise by 1, three times: one step
    run.Do({2, 0, 0, 2, 0});
    run.Do({2, 0, 0, 2, 0});
    run.Do({6, 1, 0, 0, 0});  // tiles: an entry each; the raise after them is another
    run.Do({6, 2, 0, 0, 0});
    run.Do({2, 0, 0, 2, 0});
    run.Do({0, 7, 7, 7, 7});  // a new selection starts a new step
    run.Do({2, 0, 0, 2, 0});
    run.Do({2, 0, 0, 1, 0});  // a notch that changes nothing adds nothing
    // The same step from another window is another entry.
    const auto before = std::make_unique<map::MapGrid>(run.doc->mapGrid);
    run.doc->mapGrid.RaiseCell(9, 9, 1.0);
    EXPECT_TRUE(
        run.history.Record(*before, run.doc->mapGrid, {"Alzare", 2, run.session.UndoStep()}, {}));
    const std::string_view names[] = {"Alzare", "Tile", "Tile", "Alzare", "Alzare", "Alzare"};
    EXPECT_TRUE(std::ranges::equal(run.history.Entries(), names, {}, &HistoryEntry::name));
}

// An entry keeps values, not grids: the same value over a block costs a few bytes, and a varied
// one its values, before and after, of the fields that changed. So the bound of the editor
// holds: a thousand edits of everyday size on a full map (strokes, tiles, goals and attributes
// on blocks of up to 8 x 8) keep every entry within 20 MB.
TEST(EditHistory, AnEntryCostsWhatItChangedSoAThousandFitTheBudget) {
    EditRun run(map::kMaxMapSize, map::kMaxMapSize);
    run.Do({0, 0, 0, 49, 49});
    run.Do({6, 2, 0, 0, 0});  // every tile from slot 0 to 2
    EXPECT_LT(run.history.Entries().back().Bytes(), 512u);
    for (int x = 0; x < 50; ++x) {
        for (int z = 0; z < 50; ++z) {
            test::SetHeights(run.doc->mapGrid, x, z,
                             {x + z * 0.5, x + z * 1.5, z - x + 0.25, x * z + 0.5, z * 0.75 - x});
        }
    }
    run.Do({1, 0, 0, 4, 0});  // every height raised by 1
    const std::size_t raw = 2 * 5 * 2500 * sizeof(double);
    EXPECT_GE(run.history.Entries().back().Bytes(), raw);
    EXPECT_LT(run.history.Entries().back().Bytes(), raw + 1024);
    run.history.SetLimit(2000);
    for (int k = 0; run.history.Entries().size() < 1000; ++k) {
        const int x = (k * 37) % 43;
        const int z = (k * 11) % 43;
        run.Do({0, x, z, x + k % 8, z + (k / 8) % 8});
        run.Do({1, k, 0, 4 + k % 3, 0});
        run.Do({2, 0, 0, 2, 0});
        run.Do({k % 2 ? 3 : 6, k, 0, 0, k});
        run.Do({5, k % 50, k % 19, 0, 0});
    }
    EXPECT_EQ(run.history.Entries().front().number, 1u);
    EXPECT_LE(run.history.Bytes(), 20'000'000u);
    // Past the limit the oldest go first, and a return to one of them does nothing.
    const std::uint64_t newest = run.history.Entries().back().number;
    run.history.SetLimit(3);
    ASSERT_EQ(run.history.Entries().size(), 3u);
    EXPECT_EQ(run.history.Entries().front().number, newest - 2);
    EXPECT_FALSE(run.ReturnTo(newest - 3).redraw);
    EXPECT_EQ(run.history.Entries().back().number, newest);
}

}  // namespace
}  // namespace zandrel::tools
