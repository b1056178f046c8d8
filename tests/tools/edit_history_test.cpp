#include "tools/EditHistory.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <map>
#include <memory>
#include <numeric>
#include <ostream>
#include <string>
#include <vector>

#include "mapfile/MapWriter.h"
#include "support/TerrainFixture.h"
#include "tools/EditNames.h"
#include "tools/EditSession.h"
#include "tools/MapResize.h"
#include "tools/PanelAttributes.h"
#include "tools/TextureArchive.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

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
    EditRun(std::int32_t sizeX, std::int32_t sizeZ)
        : doc(test::NewDocument(sizeX, sizeZ)),
          clipboard(std::make_unique<map::MapGrid>()),
          before_(std::make_unique<map::MapGrid>()) {}

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

    std::string Saved() const { return mapfile::FormatMap(doc->mapGrid); }

    std::unique_ptr<DocumentState> doc;
    std::unique_ptr<map::MapGrid> clipboard;
    EditSession session;
    EditHistory history;

private:
    void Record(const EditOutcome& outcome, std::string_view name) {
        session.StoreSelection(doc->mapGrid);
        const EditLabel label{outcome.name.empty() ? name : std::string_view(outcome.name), 1,
                              outcome.undoStep};
        history.Record(*before_, doc->mapGrid, label, EditHistory::Clock::now());
    }

    std::unique_ptr<map::MapGrid> before_;
};

rc::Gen<Op> AnyOp() {
    return rc::gen::construct<Op>(rc::gen::inRange(0, 14), rc::gen::inRange(0, 1000),
                                  rc::gen::inRange(0, 1000), rc::gen::inRange(0, 1000),
                                  rc::gen::inRange(0, 1000));
}

// Going back to any entry, from wherever the map has got to (returns included), gives the
// content a replay of the edits up to that entry gives, bit for bit, and so the same file;
// Annulla right after a return gives back the heights from before it.
RC_GTEST_PROP(EditHistory, ReturnToEachEntrySavesWhatAReplayUpToItSaves, ()) {
    const auto sizeX = *rc::gen::inRange(1, 17);
    const auto sizeZ = *rc::gen::inRange(1, 17);
    const auto count = *rc::gen::inRange<std::size_t>(0, 40);
    const auto ops = *rc::gen::container<std::vector<Op>>(count, AnyOp());
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
        RC_ASSERT(run.Saved() == replay.Saved());
        RC_ASSERT(run.doc->mapGrid.SameContent(replay.doc->mapGrid));
        // A return that changes nothing a save holds, bit for bit, is no entry.
        RC_ASSERT((run.history.Entries().back().name == ReturnName(number)) ==
                  !run.doc->mapGrid.SameContent(*gridBefore));
        RC_ASSERT(!run.session.Undo(*run.doc).name.empty());
        RC_ASSERT(test::SameHeights(run.doc->mapGrid, *gridBefore));
    }
}

// One entry per undo step of a tool, and one per other command that changed the map.
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
    std::vector<std::string> names;
    for (const HistoryEntry& entry : run.history.Entries()) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"Alzare", "Tile", "Tile", "Alzare", "Alzare", "Alzare"}));
    EXPECT_EQ(run.history.Entries().front().delta.Touched(), (map::CellRect{2, 2, 4, 4}));
    EXPECT_EQ(run.doc->mapGrid.cells[3][3].C, 4.0);
    // The first entry ends where its third notch left the map.
    run.ReturnTo(1);
    EXPECT_EQ(run.doc->mapGrid.cells[3][3].C, 3.0);
    EXPECT_EQ(run.doc->mapGrid.cells[3][3].typet, 0);
    EXPECT_EQ(run.doc->mapGrid.cells[7][7].C, 0.0);
}

// The bound of the editor: a thousand edits of everyday size on a full map (strokes, tiles,
// goals and attributes on blocks of up to 8 x 8) keep every entry within 20 MB.
TEST(EditHistory, AThousandEverydayEntriesOnAFullMapFitTheBudget) {
    EditRun run(map::kMaxMapSize, map::kMaxMapSize);
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

// An entry keeps values, not grids: the same value over a block costs a few bytes, and a
// varied one its values, before and after, of the fields that changed.
TEST(EditHistory, AnEntryCostsWhatItChanged) {
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
}

}  // namespace
}  // namespace zandrel::tools
