#include "cli/ScriptRunner.h"

#include <filesystem>
#include <sstream>

#include "cli/ScriptSession.h"
#include "mapfile/MapWriter.h"
#include "support/ScratchFolder.h"
#include "support/TerrainFixture.h"

namespace zandrel::cli {
namespace {

namespace fs = std::filesystem;

using zandrel::testsupport::ReadFile;

struct Outcome {
    int status;
    std::string err;
};

// Runs scripts in-process; files they save go to a scratch folder named by the script as $.
class ScriptRun : public zandrel::testsupport::ScratchFolderTest {
protected:
    Outcome Run(std::string text) const {
        for (std::size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at)) {
            text.replace(at, 1, folder_.string());
        }
        std::istringstream script(text);
        std::ostringstream out;
        std::ostringstream err;
        const int status = RunScript(script, "edit.txt", out, err);
        EXPECT_EQ(out.str(), "");
        return {status, err.str()};
    }
};

TEST_F(ScriptRun, EmptyScriptAndCommentsSucceedSilently) {
    EXPECT_EQ(Run("").status, 0);
    const Outcome outcome = Run("# nothing\n\n   \n# more\r\n");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
}

TEST_F(ScriptRun, StartsOnAFreshDefaultMap) {
    ASSERT_EQ(Run("save $/fresh.zdm\n").status, 0);
    const auto fresh = tools::test::NewMap(50, 50);
    EXPECT_EQ(ReadFile(folder_ / "fresh.zdm"), mapfile::FormatMap(*fresh));
}

TEST_F(ScriptRun, CommandsTheEditorWouldRefuseStopAtTheirLine) {
    const struct {
        const char* script;
        const char* error;
    } cases[] = {
        {"paste\n", "edit.txt:1: nothing to paste: nothing has been copied or cut\n"},
        {"\n# first a comment\nmerge\n",
         "edit.txt:3: nothing to merge: nothing has been copied or cut\n"},
        {"undo\n", "edit.txt:1: nothing to undo\n"},
        {"tool raise 1\nundo\nundo\n", "edit.txt:3: nothing to undo\n"},
        {"select 0 0 50 0\n", "edit.txt:1: cell (50, 0) is outside the 50x50 map\n"},
        {"start -1 0\n", "edit.txt:1: cell (-1, 0) is outside the 50x50 map\n"},
        {"enemy 3 x\n", "edit.txt:1: 'x' is not a whole number\n"},
        {"attributes 161 7\n", "edit.txt:1: gravity 161 is outside -160..160\n"},
        {"attributes -160 1\n", "edit.txt:1: friction 1 is outside 2..20\n"},
        {"attributes 2.5 7\n", "edit.txt:1: '2.5' is not a whole number\n"},
        {"tile 3\n", "edit.txt:1: texture entry 3 does not exist (the list has 3 entries)\n"},
        {"wall -1\n", "edit.txt:1: texture entry -1 does not exist (the list has 3 entries)\n"},
        {"enemy-texture 50\n",
         "edit.txt:1: texture entry 50 does not exist (the list has 3 entries)\n"},
        {"frobnicate\n", "edit.txt:1: unknown command 'frobnicate'\n"},
        {"select 1 2 3\n", "edit.txt:1: usage: select X0 Z0 X1 Z1\n"},
        {"copy now\n", "edit.txt:1: usage: copy\n"},
        {"tool smooth 1\n",
         "edit.txt:1: unknown tool 'smooth' (level, landslide, tilt, flatten, pyramid, raise)\n"},
        {"tool raise 1.5.2\n", "edit.txt:1: '1.5.2' is not a number\n"},
    };
    for (const auto& each : cases) {
        const Outcome outcome = Run(each.script);
        EXPECT_EQ(outcome.status, 1) << each.script;
        EXPECT_EQ(outcome.err, each.error) << each.script;
    }
}

TEST_F(ScriptRun, UnreadableFilesAreReportedWithTheirPath) {
    const Outcome opened = Run("open $/missing.zdm\n");
    EXPECT_EQ(opened.status, 1);
    EXPECT_EQ(opened.err.rfind(
                  "edit.txt:1: " + (folder_ / "missing.zdm").string() + ": cannot be opened", 0),
              0u)
        << opened.err;

    const Outcome saved = Run("save $/no/such/folder/x.zdm\n");
    EXPECT_EQ(saved.status, 1);
    EXPECT_EQ(saved.err.rfind("edit.txt:1: " + (folder_ / "no/such/folder/x.zdm").string(), 0), 0u)
        << saved.err;
}

TEST_F(ScriptRun, WhatWasSavedBeforeAFailureStaysSaved) {
    const Outcome outcome = Run("save $/a.zdm\ntool raise 2\nsave $/b.zdm\npaste\nsave $/c.zdm\n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err, "edit.txt:4: nothing to paste: nothing has been copied or cut\n");
    EXPECT_TRUE(fs::exists(folder_ / "a.zdm"));
    EXPECT_TRUE(fs::exists(folder_ / "b.zdm"));
    EXPECT_FALSE(fs::exists(folder_ / "c.zdm"));
    EXPECT_NE(ReadFile(folder_ / "a.zdm"), ReadFile(folder_ / "b.zdm"));
}

TEST_F(ScriptRun, OpenedSmallerMapBoundsTheCells) {
    auto small = tools::test::NewMap(10, 6);
    ASSERT_TRUE(mapfile::SaveMapFile(*small, folder_ / "small.zdm").ok());
    EXPECT_EQ(Run("open $/small.zdm\nselect 9 5 9 5\n").status, 0);
    const Outcome outcome = Run("open $/small.zdm\nselect 9 6 9 6\n");
    EXPECT_EQ(outcome.err, "edit.txt:2: cell (9, 6) is outside the 10x6 map\n");
}

TEST(ScriptSession, ViewAndStoredSelectionFollowTheCommands) {
    const auto session = std::make_unique<ScriptSession>();
    const auto run = [&](std::string_view line) {
        const Status status = session->Run(*SplitScriptLine(line));
        EXPECT_TRUE(status.ok()) << line << ": " << status.message();
    };
    EXPECT_EQ(session->selection(), tools::MapSelection(25, 25, 25, 25));
    EXPECT_EQ(session->mapGrid().selection, (map::CellRect{25, 25, 25, 25}));

    run("select 7 3 4 9");
    EXPECT_EQ(session->selection(), tools::MapSelection(4, 3, 7, 9));
    EXPECT_EQ(session->mapGrid().selection, (map::CellRect{4, 3, 7, 9}));

    run("copy");
    run("new");
    EXPECT_TRUE(session->clipboard().hasContent);
    EXPECT_EQ(session->selection(), tools::MapSelection(25, 25, 25, 25));

    run("select 48 1 48 1");
    run("paste");
    // The pasted block, clipped at the last x, becomes the selection.
    EXPECT_EQ(session->selection(), tools::MapSelection(48, 1, 49, 7));
    EXPECT_EQ(session->mapGrid().selection, (map::CellRect{48, 1, 49, 7}));

    run("start 12 40");
    EXPECT_EQ(session->selection(), tools::MapSelection(12, 40, 12, 40));
    EXPECT_EQ(session->mapGrid().start, (map::CellRect{12, 40, 12, 40}));
    run("goal");
    EXPECT_EQ(session->mapGrid().Cell(12, 40).goal, 1);
}

}  // namespace
}  // namespace zandrel::cli
