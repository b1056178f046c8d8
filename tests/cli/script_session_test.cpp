#include "cli/ScriptSession.h"

#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "cli/ScriptCommand.h"
#include "cli/ScriptReference.h"
#include "support/CliTool.h"
#include "support/TerrainFixture.h"
#include "tools/MapSelection.h"
#include "tools/ToolMode.h"

namespace zandrel::cli {
namespace {

namespace fs = std::filesystem;
using map::MapGrid;
using testsupport::ToolOutcome;
using tools::test::HeightsOf;

class ScriptRun : public testsupport::CliTest {};

// Each command the editor would refuse stops the script at its line with the reason, and the
// save after it never runs. One word too many is the reference's test below; why a map does not
// open is zdmtool's. Words are split at any run of blanks; blank lines and comments hold
// none, but a "#" after a command is a word.
TEST_F(ScriptRun, RefusedCommandsStopAtTheirLineWithTheReason) {
    Save(MapGrid(10, 6), "small.zdm");
    const std::pair<const char*, const char*> cases[] = {
        {"paste\n", "edit.txt:1: nothing to paste: nothing has been copied or cut\n"},
        {"\n \t\r\n   #indented comment\nmerge\n",
         "edit.txt:4: nothing to merge: nothing has been copied or cut\n"},
        {"tool raise 1\nundo\nundo\n", "edit.txt:3: nothing to undo\n"},
        {"  start\t-1  0\t\r\n", "edit.txt:1: cell (-1, 0) is outside the 50x50 map\n"},
        {"copy # trailing words are no comment\n", "edit.txt:1: usage: copy\n"},
        {"open small.zdm\nselect 9 5 9 5\nselect 9 6 9 6\n",
         "edit.txt:3: cell (9, 6) is outside the 10x6 map\n"},
        {"enemy 3 x\n", "edit.txt:1: 'x' is not a whole number\n"},
        {"attributes 161 7\n", "edit.txt:1: gravity 161 is outside -160..160\n"},
        {"attributes -160 1\n", "edit.txt:1: friction 1 is outside 2..20\n"},
        {"tile 3\n", "edit.txt:1: texture entry 3 does not exist (the list has 3 entries)\n"},
        {"wall -1\n", "edit.txt:1: texture entry -1 does not exist (the list has 3 entries)\n"},
        {"frobnicate\n", "edit.txt:1: unknown command 'frobnicate'\n"},
        {"select 1 2 3\n", "edit.txt:1: usage: select X0 Z0 X1 Z1\n"},
        {"tool smooth 1\n",
         "edit.txt:1: unknown tool 'smooth' (level, landslide, tilt, flatten, pyramid, raise)\n"},
        {"tool raise 1.5.2\n", "edit.txt:1: '1.5.2' is not a number\n"},
        {"new\nrevert 1\n", "edit.txt:2: no history entry 1: the history is empty\n"},
        {"tool raise 1\ntool raise 1\nrevert 2\n",
         "edit.txt:3: no history entry 2 (entries 1 to 1 are kept)\n"},
        {"resize 0 5\n", "edit.txt:1: size 0x5 is outside 1..50 cells per side\n"},
        {"resize 5 5 q\n", "edit.txt:1: unknown anchor 'q' (ne, n, no, e, c, o, se, s, so)\n"},
        {"rotate\n", "edit.txt:1: nothing to rotate: nothing has been copied or cut\n"},
        {"copy\nflip y\n", "edit.txt:2: flip takes x or z, not 'y'\n"},
        {"paint floor 0 1 1\n", "edit.txt:1: paint takes tile or wall, not 'floor'\n"},
    };
    for (const auto& [script, error] : cases) {
        const ToolOutcome outcome = Script(std::string(script) + "save never.zdm\n");
        EXPECT_EQ(outcome.status, 1) << script;
        EXPECT_EQ(outcome.err, error) << script;
        EXPECT_FALSE(fs::exists(folder_ / "never.zdm")) << script;
    }
    const ToolOutcome saved = Script("save no/such/folder/x.zdm\n");
    EXPECT_EQ(saved.err.rfind("edit.txt:1: no/such/folder/x.zdm: ", 0), 0u) << saved.err;
}

// Each tool word reaches the editor's tool with its value, on a tilted block so that no two
// tools leave the same heights; markers, attributes and textures land where the commands say.
TEST_F(ScriptRun, CommandsDoWhatTheEditorsOperationsDo) {
    using namespace tools;
    const std::pair<const char*, std::int32_t> kTools[] = {
        {"level", TOOL_LEVEL},     {"landslide", TOOL_LANDSLIDE}, {"tilt", TOOL_TILT},
        {"flatten", TOOL_FLATTEN}, {"pyramid", TOOL_PYRAMID},     {"raise", TOOL_RAISE}};
    for (const auto& [word, mode] : kTools) {
        const ToolOutcome outcome = Script("select 4 4 2 3\ntool tilt 100\ntool " +
                                           std::string(word) + " -5\nsave t.zdm\n");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        auto doc = test::NewDocument(50, 50);
        MapSelection block(2, 3, 4, 4);
        block.applyTool(doc->mapGrid, doc->undoGrid, TOOL_TILT, 100.0);
        block.applyTool(doc->mapGrid, doc->undoGrid, mode, -5.0);
        EXPECT_EQ(Read("t.zdm"), mapfile::FormatMap(doc->mapGrid)) << word;
    }

    const ToolOutcome outcome = Script(
        "select 2 3 4 4\ngoal\nstart 12 40\nenemy 1 1\nenemy 2 2\nattributes -120 12\n"
        "tile 2\nwall 0\nenemy-texture 1\nsave out.zdm\n");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out + outcome.err, "");
    const auto map = Load("out.zdm");
    EXPECT_EQ(map->Cell(2, 3).goal + map->Cell(4, 4).goal + map->Cell(5, 4).goal, 2);
    EXPECT_EQ(map->start, (map::CellRect{12, 40, 12, 40}));
    EXPECT_EQ(map->enemies[0], (map::CellRect{1, 1, 1, 1}));
    EXPECT_EQ(map->enemies[1], (map::CellRect{2, 2, 2, 2}));
    // The last click selected (2, 2): the attributes and textures are applied to it alone.
    const map::MapCell& cell = map->Cell(2, 2);
    EXPECT_EQ(std::tuple(cell.grav, cell.artr, cell.typet, cell.typew),
              std::tuple(-120.0, 12.0, 2, 0));
    EXPECT_NE(map->Cell(1, 1).grav, -120.0);
    EXPECT_EQ(map->Enemys_Tex, 1);
}

// The clipboard outlives new and open; a paste and a resize are undone whole. What a merge, a
// turn, a stroke and a resize do is the tools' business (tests/tools): here the commands reach
// them. Lines may end in CR LF.
TEST_F(ScriptRun, ClipboardCrossesDocumentsAndUndoTakesBackAPasteOrAResize) {
    const ToolOutcome outcome = Script(
        "select 0 0 2 0\r\ntool tilt 100\r\ncopy\r\nsave a.zdm\r\nnew\r\n"
        "select 5 5 5 5\r\npaste\r\nsave b.zdm\r\nundo\r\nsave undone.zdm\r\n\r\nopen a.zdm\r\n"
        "select 48 48 48 48\r\nmerge\r\nsave c.zdm\r\nrotate\nflip x\nflip x\nselect 5 5 5 5\n"
        "paste\npaint wall 2 1 1 4 3\nsave d.zdm\nresize 8 6 so\nundo\nsave e.zdm\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(Read("undone.zdm"), mapfile::FormatMap(MapGrid(50, 50)));
    const auto a = Load("a.zdm");
    const auto b = Load("b.zdm");
    const auto c = Load("c.zdm");
    const auto d = Load("d.zdm");
    for (std::int32_t x = 0; x <= 2; ++x) {
        EXPECT_EQ(HeightsOf(b->Cell(5 + x, 5)), HeightsOf(a->Cell(x, 0))) << x;
    }
    EXPECT_NE(HeightsOf(a->Cell(0, 0)), HeightsOf(a->Cell(1, 0)));
    // Merged onto flat ground at 0 and cut off after x 49.
    EXPECT_EQ(HeightsOf(c->Cell(48, 48)), HeightsOf(a->Cell(0, 0)));
    EXPECT_EQ(HeightsOf(c->Cell(49, 48)), HeightsOf(a->Cell(1, 0)));
    EXPECT_EQ(HeightsOf(c->Cell(0, 0)), HeightsOf(a->Cell(0, 0)));
    // The ramp rising along x was turned to rise along z: x 0..2 became z 5..7.
    EXPECT_EQ(HeightsOf(d->Cell(5, 7)), (tools::test::Heights{2, 2, 2, 2, 2}));
    EXPECT_EQ(d->Cell(3, 2).typew, 2);  // between the stroke's two cells
    EXPECT_EQ(d->Cell(4, 3).typew, 2);
    EXPECT_EQ(Read("e.zdm"), Read("d.zdm"));
}

// The history as the editor keeps it: a run of tool commands on one selection is one entry,
// a return is an entry of its own, and new starts over.
TEST_F(ScriptRun, HistoryListsTheEditsAndRevertReturnsToOne) {
    const ToolOutcome outcome = Script(
        "select 1 2 3 4\ntool raise 1\ntool raise 1\nsave one.zdm\ntile 2\n"
        "start 5 6\nresize 8 9\ncopy\nrotate\npaint tile 1 0 0 1 0\nrevert 1\nhistory\n"
        "save back.zdm\nundo\nsave undone.zdm\nnew\nhistory\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string times = "\\t[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\n";
    EXPECT_TRUE(std::regex_match(
        outcome.out,
        std::regex("1\\tAlzare\\t1,2-3,4" + times + "2\\tTile\\t1,2-3,4" + times +
                   "3\\tStart\\t5,6" + times + "4\\tDimensioni mappa\\t[^\\t]+" + times +
                   "5\\tPennello tile\\t0,0-1,0" + times + "6\\tRitorno a 1\\t[^\\t]+" + times)))
        << outcome.out;
    EXPECT_EQ(Read("back.zdm"), Read("one.zdm"));
    // Undo after a return across a resize puts back the whole map from before it.
    const auto undone = Load("undone.zdm");
    EXPECT_EQ(undone->SizeX, 8);
    EXPECT_EQ(undone->Cell(1, 2).C, 2.0);
    EXPECT_EQ(undone->Cell(1, 0).typet, 1);
}

// The example in the help is a script a user will paste: it must run as written. A script lists
// the textures of the folder it runs in; their order is the texture archive's (tests/tools).
TEST_F(ScriptRun, ZdmtoolRunsAScriptFileAndNamesItsFailures) {
    Write("example.txt", "save level.zdm\n" + std::string(ScriptExample()));
    ASSERT_EQ(Run("script example.txt").err, "");
    const auto hill = Load("hill.zdm");
    EXPECT_EQ(hill->cells[12][12].goal, 1);
    EXPECT_GT(hill->cells[12][12].C, hill->cells[0][0].C);

    for (const char* image : {"b.jpg", "a.jpg", "skip.png"}) {
        Write(image, "");
    }
    // new selects the middle cell again.
    Write("edit.txt",
          "select 0 0 0 0\nnew\n# raise\ntool raise 1\nrefresh-textures\ntile 4\nsave out.zdm\n"
          "tile 5\n");
    const ToolOutcome outcome = Run("script edit.txt");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "edit.txt:8: texture entry 5 does not exist (the list has 5 entries)\n");
    const auto out = Load("out.zdm");
    EXPECT_NE(out->Cell(25, 25).C, 0.0);
    EXPECT_EQ(out->textures[3].View(), "a.jpg");

    const ToolOutcome missing = Run("script absent.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.rfind("absent.txt: cannot be opened", 0), 0u);
    fs::create_directory(folder_ / "folder");
    EXPECT_EQ(Run("script folder").status, 1);
    EXPECT_EQ(Script("").status + Script("# nothing\n\n   \n").status, 0);
}

// Whole numbers take a sign and nothing else and fit an int32; tool values are finite decimals.
TEST(ScriptNumbers, WholeNumbersAndToolValues) {
    // Each text, and the whole number and the tool value it reads as. Plain negative and zero
    // values are in the scripts above (start -1 0, attributes -120 12, tool raise -5).
    const std::tuple<const char*, std::optional<std::int32_t>, std::optional<double>> cases[] = {
        {"+7", 7, 7.0},
        {"2.5", {}, 2.5},
        {"-0.5", {}, -0.5},
        {"+1e2", {}, 100.0},
        {"99999999999", {}, 99999999999.0},
    };
    for (const auto& [text, whole, number] : cases) {
        EXPECT_EQ(ParseWholeNumber(text), whole) << text;
        EXPECT_EQ(ParseNumber(text), number) << text;
    }
    for (const char* neither : {"7x", "", "+", "+-3", "inf", "nan", "1e999", "0x10", "1,5"}) {
        EXPECT_FALSE(ParseWholeNumber(neither).has_value()) << neither;
        EXPECT_FALSE(ParseNumber(neither).has_value()) << neither;
    }
}

// Every command is documented once, in the help and the manual, with the usage text the
// session answers a wrong number of arguments with: else the help teaches a command line the
// session refuses.
TEST(ScriptReference, HelpAndManualShowEachCommandsOwnUsage) {
    std::ostringstream help;
    WriteScriptHelp(help);
    std::ostringstream manual;
    WriteScriptManSection(manual);
    std::set<std::string_view> names;
    for (const ScriptCommandDoc& doc : ScriptCommandDocs()) {
        SCOPED_TRACE(std::string(doc.name));
        EXPECT_TRUE(names.insert(doc.name).second) << "documented twice";
        EXPECT_FALSE(doc.effect.empty() || doc.editorAction.empty());
        // A usage with repeated pairs takes any number of them: one word more is one too many.
        std::string tooMany(doc.usage);
        if (tooMany.ends_with(" ...]")) {
            tooMany.erase(tooMany.rfind(" ["));
        }
        const Status refused = ScriptSession().Run(*SplitScriptLine(tooMany + " extra"));
        EXPECT_EQ(refused.message(), "usage: " + std::string(doc.usage));
        EXPECT_NE(help.str().find("\n  " + std::string(doc.usage) + '\n'), std::string::npos);
        // roff shows a hyphen only when it is written \-.
        const std::string roffUsage =
            std::regex_replace(std::string(doc.usage), std::regex("-"), "\\-");
        EXPECT_NE(manual.str().find("\n.B " + roffUsage + '\n'), std::string::npos);
    }
    EXPECT_NE(help.str().find("  select 10 10 14 14\n"), std::string::npos);
    EXPECT_NE(manual.str().find("\nselect 10 10 14 14\n"), std::string::npos);
    // A line of text that roff would take for a request is the installed page's test: groff
    // warns about it (tests/install).
}

}  // namespace
}  // namespace zandrel::cli
