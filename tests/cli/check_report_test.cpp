// zdmtool check: the findings are the map check's (tests/tools); here their lines, the JSON and
// the exit status.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "support/CliTool.h"

using zandrel::testsupport::ToolOutcome;

namespace {

using ZdmToolCheck = zandrel::testsupport::CliTest;

TEST_F(ZdmToolCheck, StrictPrintsOneLinePerFindingFailsOnErrorsOnlyAndJsonParses) {
    Run("new new.zdm");
    for (const char* texture : {"tile.jpg", "wall.jpg", "enemy.jpg"}) {
        Write(texture, "");
    }
    std::filesystem::create_directories(folder_ / "maps");
    // Fit for the game but for their one texture file, looked for beside the map: only b.jpg is.
    for (const std::string name : {"a", "b"}) {
        Write("maps/" + name + ".zdm",
              "<ZanMap SizeX=\"2\" SizeZ=\"1\" numtex=\"1\" Tex_0=\"" + name +
                  ".jpg\" goal_1_0=\"1\" X_S=\"0\" Z_S=\"0\" Enemy_1_X=\"-1\" Enemy_1_Z=\"-1\"/>");
    }
    Write("maps/b.jpg", "");
    Write("cell.zdm",
          "<ZanMap SizeX=\"3\" SizeZ=\"2\" numtex=\"1\" goal_0_0=\"1\" typet_2_1=\"4\"/>");
    // The arguments, the exit status and what is printed.
    const std::tuple<const char*, int, const char*> cases[] = {
        {"check new.zdm", 0, ""},
        {"check --strict new.zdm", 1,
         "new.zdm: error: start-missing: no start cell is placed\n"
         "new.zdm: error: no-goal: no cell is a goal\n"},
        {"check maps/a.zdm --strict", 0,
         "maps/a.zdm: warning: texture-missing: texture slot 0 names \"a.jpg\", which cannot be "
         "found\n"},
        {"check --strict maps/b.zdm", 0, ""},
        {"check --strict cell.zdm", 1,
         "cell.zdm: warning: texture-missing: texture slot 0 names \"\", which cannot be found\n"
         "cell.zdm: error: tile-texture-range: tile texture slot 4 is not in the table; the "
         "table has slots 0..0 (2, 1)\n"},
    };
    for (const auto& [args, status, out] : cases) {
        const ToolOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, status) << args;
        EXPECT_EQ(outcome.out, out) << args;
    }

    // The JSON holds every file, the unreadable ones too, and parses.
    const ToolOutcome json = Run("check --json new.zdm cell.zdm absent.zdm");
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err, "absent.zdm: cannot be opened: No such file or directory\n");
    if (std::system("command -v python3 >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is needed to read the JSON back";
    }
    Write("out.json", json.out);
    const ToolOutcome read = RunInFolder(
        "python3",
        "-c 'import json; r = json.load(open(\"out.json\", encoding=\"utf-8\")); "
        "print(len(r), [f[\"loaded\"] for f in r], [e[\"code\"] for e in r[0][\"findings\"]], "
        "r[1][\"findings\"][0][\"cell\"], r[2][\"reason\"])'");
    EXPECT_EQ(read.status, 0) << read.err;
    EXPECT_EQ(read.out,
              "3 [True, True, False] ['start-missing', 'no-goal'] None cannot be opened: No such "
              "file or directory\n");
}

}  // namespace
