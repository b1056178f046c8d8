#include <filesystem>
#include <regex>
#include <string>

#include "mapfile/MapLoader.h"
#include "mapfile/MapWriter.h"
#include "support/ScratchFolder.h"
#include "support/TerrainFixture.h"
#include "tools/EditCommands.h"
#include "tools/PanelAttributes.h"
#include "tools/Placement.h"
#include "tools/TextureArchive.h"
#include "tools/ToolState.h"

namespace zandrel::tools {
namespace {

namespace fs = std::filesystem;

using zandrel::testsupport::ReadFile;
using zandrel::testsupport::ToolOutcome;

// Runs `zdmtool script edit.txt` as a pipeline would, in a scratch folder.
class ZdmToolScript : public zandrel::testsupport::ScratchFolderTest {
protected:
    ToolOutcome RunScript(const std::string& text) const {
        Write("edit.txt", text);
        return RunInFolder(ZDMTOOL_PATH, "script edit.txt");
    }

    std::unique_ptr<map::MapGrid> Load(const std::string& name) const {
        auto grid = std::make_unique<map::MapGrid>();
        EXPECT_TRUE(mapfile::LoadMapFile(*grid, folder_ / name).ok()) << name;
        return grid;
    }
};

TEST_F(ZdmToolScript, SavesWhatTheEditorsOperationsMake) {
    const ToolOutcome outcome = RunScript(
        "# shape a few blocks, mark the map, set attributes\n"
        "select 2 3 4 4\n"
        "tool tilt 100\n"
        "tool level 0\n"
        "goal\n"
        "select 10 10 13 13\n"
        "tool pyramid 31\n"
        "tool landslide -5\n"
        "start 12 40\n"
        "enemy 1 1\n"
        "enemy 2 2\n"
        "attributes -120 12\n"
        "tile 2\n"
        "wall 0\n"
        "enemy-texture 1\n"
        "select 20 20 22 21\n"
        "tool flatten 3\n"
        "tool raise -1.5\n"
        "copy\n"
        "select 30 5 30 5\n"
        "merge\n"
        "save out.zdm\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "");

    auto doc = test::NewDocument(50, 50);
    auto clipboard = std::make_unique<map::MapGrid>();
    map::MapGrid& map = doc->mapGrid;
    ToolState tools;
    MapSelection s(2, 3, 4, 4);
    s.applyTool(map, doc->undoGrid, TOOL_TILT, 100.0);
    s.applyTool(map, doc->undoGrid, TOOL_LEVEL, 0.0);
    map.SetSelection(2, 3, 4, 4);
    ToggleGoal(map);
    s.setFromHits(1010, 1313);
    s.applyTool(map, doc->undoGrid, TOOL_PYRAMID, 31.0);
    s.applyTool(map, doc->undoGrid, TOOL_LANDSLIDE, -5.0);
    tools.toggleStartPlacement();
    s.setFromHits(4012, 4012);
    tools.placeOnClick(s, *doc);
    for (const std::int32_t cell : {101, 202}) {
        tools.toggleEnemyPlacement();
        s.setFromHits(cell, cell);
        tools.placeOnClick(s, *doc);
    }
    map.SetSelection(2, 2, 2, 2);
    ApplyAttributes(map, -120, 12);
    ApplyTileTexture(map, 2);
    ApplyWallTexture(map, 0);
    ApplyEnemyTexture(map, 1);
    s.setFromHits(2020, 2122);
    s.applyTool(map, doc->undoGrid, TOOL_FLATTEN, 3.0);
    s.applyTool(map, doc->undoGrid, TOOL_RAISE, -1.5);
    EditCopy(*doc, s, *clipboard);
    s.setFromHits(530, 530);
    ASSERT_TRUE(EditMerge(*doc, s, *clipboard));
    EXPECT_EQ(ReadFile(folder_ / "out.zdm"), mapfile::FormatMap(map));
}

TEST_F(ZdmToolScript, ClipboardOutlivesTheDocumentsItWasCopiedFrom) {
    const ToolOutcome outcome = RunScript(
        "select 0 0 2 0\n"
        "tool landslide 10\n"
        "copy\n"
        "save a.zdm\n"
        "new\n"
        "select 5 5 5 5\n"
        "paste\n"
        "save b.zdm\n"
        "open a.zdm\n"
        "select 48 48 48 48\n"
        "merge\n"
        "save c.zdm\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const auto a = Load("a.zdm");
    const auto b = Load("b.zdm");
    const auto c = Load("c.zdm");
    for (std::int32_t x = 0; x <= 2; ++x) {
        EXPECT_EQ(test::HeightsOf(b->Cell(5 + x, 5)), test::HeightsOf(a->Cell(x, 0))) << x;
    }
    // Merged onto flat ground at 0 and cut off after x 49.
    EXPECT_EQ(test::HeightsOf(c->Cell(48, 48)), test::HeightsOf(a->Cell(0, 0)));
    EXPECT_EQ(test::HeightsOf(c->Cell(49, 48)), test::HeightsOf(a->Cell(1, 0)));
    EXPECT_EQ(test::HeightsOf(c->Cell(0, 0)), test::HeightsOf(a->Cell(0, 0)));
}

// A failure names the file and line, prints nothing else, exits 1 and runs nothing after it.
TEST_F(ZdmToolScript, UndoOfAPasteRestoresTheSavedMapAndASecondFails) {
    const ToolOutcome outcome = RunScript(
        "select 1 1 2 2\r\ntool raise 2\r\ncopy\r\nselect 6 6 6 6\r\ntool pyramid 1\r\n"
        "save before.zdm\r\n\r\npaste\r\nundo\r\nsave after.zdm\r\nundo\r\nsave never.zdm\r\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "edit.txt:11: nothing to undo\n");
    EXPECT_EQ(ReadFile(folder_ / "before.zdm"), ReadFile(folder_ / "after.zdm"));
    EXPECT_FALSE(fs::exists(folder_ / "never.zdm"));
}

TEST_F(ZdmToolScript, RefreshTexturesListsTheWorkingDirectory) {
    for (const char* image : {"b.jpg", "a.jpg", "wall.jpg", "tile.jpg", "skip.png"}) {
        Write(image, "");
    }
    const ToolOutcome outcome = RunScript(
        "refresh-textures\nselect 0 0 1 1\ntile 4\nenemy-texture 3\nsave t.zdm\ntile 5\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "edit.txt:6: texture entry 5 does not exist (the list has 5 entries)\n");
    const auto grid = Load("t.zdm");
    ASSERT_EQ(grid->numtex, 5);
    const char* expected[] = {"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "b.jpg"};
    for (std::int32_t i = 0; i < 5; ++i) {
        EXPECT_EQ(grid->textures[i].View(), expected[i]);
    }
    EXPECT_EQ(grid->Cell(1, 1).typet, 4);
    EXPECT_EQ(grid->Cell(2, 1).typet, 0);
    EXPECT_EQ(grid->Enemys_Tex, 3);
}

// The history as the editor keeps it: a run of tool commands on one selection is one entry,
// a return is an entry of its own, and new starts over.
TEST_F(ZdmToolScript, HistoryListsTheEditsAndRevertReturnsToOne) {
    const ToolOutcome outcome = RunScript(
        "select 1 2 3 4\ntool raise 1\ntool raise 1\nsave one.zdm\ntile 2\n"
        "start 5 6\nresize 8 9\ncopy\nrotate\npaint tile 1 0 0 1 0\nrevert 1\nhistory\nsave "
        "back.zdm\n"
        "undo\nsave undone.zdm\nnew\nhistory\nrevert 1\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "edit.txt:18: no history entry 1: the history is empty\n");
    const std::string times = "\\t[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\n";
    EXPECT_TRUE(std::regex_match(
        outcome.out,
        std::regex("1\\tAlzare\\t1,2-3,4" + times + "2\\tTile\\t1,2-3,4" + times +
                   "3\\tStart\\t5,6" + times + "4\\tDimensioni mappa\\t[^\\t]+" + times +
                   "5\\tPennello tile\\t0,0-1,0" + times + "6\\tRitorno a 1\\t[^\\t]+" + times)))
        << outcome.out;
    EXPECT_EQ(ReadFile(folder_ / "back.zdm"), ReadFile(folder_ / "one.zdm"));
    // Undo after a return across a resize puts back the whole map from before it.
    const auto undone = Load("undone.zdm");
    EXPECT_EQ(undone->SizeX, 8);
    EXPECT_EQ(undone->Cell(1, 2).C, 2.0);
    EXPECT_EQ(undone->Cell(1, 0).typet, 1);
}

TEST_F(ZdmToolScript, TurnsTheClipboardPaintsAndResizesWithAWholeMapUndo) {
    const ToolOutcome outcome = RunScript(
        "select 0 0 2 0\ntool tilt 100\ncopy\nrotate\nflip x\nflip x\n"
        "select 5 5 5 5\npaste\npaint wall 2 1 1 4 3\nsave a.zdm\n"
        "resize 8 6 so\nsave b.zdm\nundo\nsave c.zdm\nresize 0 5\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "edit.txt:15: size 0x5 is outside 1..50 cells per side\n");
    const auto a = Load("a.zdm");
    // The ramp rising along x was turned to rise along z: x 0..2 became z 5..7.
    EXPECT_EQ(test::HeightsOf(a->Cell(5, 7)), (test::Heights{2, 2, 2, 2, 2}));
    EXPECT_EQ(a->Cell(3, 2).typew, 2);  // between the stroke's two cells
    EXPECT_EQ(a->Cell(4, 3).typew, 2);
    const auto b = Load("b.zdm");
    EXPECT_EQ(b->SizeX, 8);
    EXPECT_EQ(b->SizeZ, 6);
    EXPECT_EQ(ReadFile(folder_ / "c.zdm"), ReadFile(folder_ / "a.zdm"));
}

TEST_F(ZdmToolScript, MissingOrFolderScriptFails) {
    const ToolOutcome missing = RunInFolder(ZDMTOOL_PATH, "script absent.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("absent.txt: cannot be opened", 0), 0u);

    fs::create_directory(folder_ / "folder");
    EXPECT_EQ(RunInFolder(ZDMTOOL_PATH, "script folder").status, 1);
}

}  // namespace
}  // namespace zandrel::tools
