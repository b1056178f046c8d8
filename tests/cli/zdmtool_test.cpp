#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "heightimage/HeightPngWriter.h"
#include "support/CliTool.h"

namespace fs = std::filesystem;
using zandrel::heightimage::WriteHeightPngFile;
using zandrel::testsupport::ToolOutcome;

using ZdmTool = zandrel::testsupport::CliTest;

// What each verb prints when it succeeds, with exit 0 and nothing on standard error, and the
// files it writes: new writes the reference map. Check's silence on a fine map is its own test
// (check_report_test.cpp), what a resize keeps the tools' (tests/tools).
TEST_F(ZdmTool, VerbsPrintTheirResultsAndWriteTheirFiles) {
    Write("m.zdm",
          "<ZanMap SizeX=\"2\" SizeZ=\"1\" numtex=\"2\" Tex_0=\"a.jpg\" Tex_1=\"b.jpg\""
          " Enemys_Tex=\"7\" C_0_0=\"-1.5\" NE_1_0=\"2.25\" goal_1_0=\"1\" X_S=\"1\" Z_S=\"0\""
          " Enemy_0_X=\"-1\" Enemy_0_Z=\"-1\" Enemy_1_X=\"9\" Enemy_1_Z=\"9\"/>");
    Write("t.zdm", "<r a=\"x\\y\te\xe9\" b=\"\n1\">\n<c/>t<![CDATA[<]]></r>");
    const std::pair<const char*, const char*> cases[] = {
        {"new a.zdm", ""},
        {"info m.zdm",
         "size: 2 x 1\n"
         "texture slots: 2\n  0: a.jpg\n  1: b.jpg\n"
         "enemy texture slot: 7 (not a slot of this map)\n"
         "start: 1, 0\n"
         "enemy 0: not placed\n"
         "enemy 1: 9, 9 (outside the map)\n"
         "enemy 2: 0, 0\n"
         "enemy 3: 0, 0\n"
         "heights: -1.500000 to 2.250000\n"
         "goal cells: 1\n"},
        {"parse t.zdm",
         "{\"name\": \"r\", \"attributes\": {\"a\": \"x\\\\y\\te\\ufffd\", \"b\": \"\\n1\"}, "
         "\"text\": \"t<\", \"children\": [{\"name\": \"c\", \"attributes\": {}, "
         "\"text\": \"\", \"children\": []}]}\n"},
        {"resize a.zdm 20 30 b.zdm --anchor c", ""},
    };
    for (const auto& [args, out] : cases) {
        const ToolOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 0) << args;
        EXPECT_EQ(outcome.out, out) << args;
        EXPECT_EQ(outcome.err, "") << args;
    }
    EXPECT_EQ(Read("a.zdm"),
              zandrel::testsupport::ReadFile(fs::path(CORE_TEST_DATA) / "new_map.zdm"));
    EXPECT_EQ(Load("b.zdm")->SizeZ, 30);
}

// A file a verb cannot use fails it with exit 1, naming the file and why, and nothing is written.
// Why a picture is refused is the PNG reader's business (tests/heightimage); one case shows it.
TEST_F(ZdmTool, FailuresNameTheFileAndWhy) {
    Run("new map.zdm");
    Write("broken.zdm", "<ZanMap\n SizeX=\"2\"\n\n\n\n\n oops='1'/>\n");
    Write("bad.zdm", "<r>\n");
    Write("picture.png", "GIF89a");
    ASSERT_TRUE(WriteHeightPngFile(folder_ / "nameless.png", {1, 1, {5}, std::nullopt}));
    Write("keep.zdm", "old");
    const std::pair<const char*, const char*> cases[] = {
        {"check map.zdm broken.zdm absent.zdm",
         "parse error at line 7\nbroken.zdm: cannot be read: parse error at line 7\n"
         "absent.zdm: cannot be opened: No such file or directory\n"},
        {"parse bad.zdm", "parse error at line 2\n"},
        {"info absent.zdm", "absent.zdm: cannot be opened: No such file or directory\n"},
        {"new missing/level.zdm",
         "missing/level.zdm: cannot create a file in missing: No such file or directory\n"},
        {"heightmap import map.zdm picture.png keep.zdm", "picture.png: is not a PNG image\n"},
        {"heightmap import map.zdm nameless.png keep.zdm",
         "nameless.png: stores no height range; give one with --min and --max\n"},
        {"heightmap export absent.zdm out.png",
         "absent.zdm: cannot be opened: No such file or directory\n"},
    };
    for (const auto& [args, err] : cases) {
        const ToolOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 1) << args;
        EXPECT_EQ(outcome.out, "") << args;
        EXPECT_EQ(outcome.err, err) << args;
    }
    EXPECT_EQ(Read("keep.zdm"), "old");
    EXPECT_FALSE(fs::exists(folder_ / "out.png"));
    const ToolOutcome unwritable = Run("heightmap export map.zdm missing/out.png");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("missing/out.png"), std::string::npos) << unwritable.err;
}

// A wrong command line prints the usage of the verb it names, or of zdmtool, exits 2 and
// writes nothing.
TEST_F(ZdmTool, UsageErrorsAndHelp) {
    Run("new a.zdm");
    const std::pair<const char*, std::vector<const char*>> usages[] = {
        {"Usage: zdmtool", {"", "frobnicate"}},
        {"Usage: zdmtool new", {"new"}},
        {"Usage: zdmtool check", {"check --strict", "check --fast a.zdm"}},
        {"Usage: zdmtool info", {"info --strict a.zdm"}},
        {"Usage: zdmtool parse", {"parse x y"}},
        {"Usage: zdmtool script", {"script"}},
        {"Usage: zdmtool resize",
         {"resize a.zdm 0 5 d.zdm", "resize a.zdm 51 5 d.zdm", "resize a.zdm 5 5 d.zdm --anchor q",
          "resize a.zdm 5 d.zdm"}},
        {"Usage: zdmtool render",
         {"render a.zdm", "render --size 0x0 a.zdm out.png", "render --size 10x a.zdm out.png",
          "render --textures", "render --size 4097 a.zdm out.png",
          "render --camera side a.zdm out.png", "render --bogus a.zdm out.png"}},
        {"Usage: zdmtool heightmap export MAP OUT.png",
         {"heightmap", "heightmap frob", "heightmap export a.zdm", "heightmap import a.zdm b.png",
          "heightmap import a.zdm b.png d.zdm --min 1", "heightmap import a.zdm b.png d.zdm -x",
          "heightmap import a.zdm b.png d.zdm --max 1 --min",
          "heightmap import a.zdm b.png d.zdm --min 1,5 --max 2"}},
    };
    for (const auto& [usage, wrong] : usages) {
        for (const char* args : wrong) {
            const ToolOutcome outcome = Run(args);
            EXPECT_EQ(outcome.status, 2) << args;
            EXPECT_NE(outcome.err.find(usage), std::string::npos) << args << ": " << outcome.err;
            EXPECT_EQ(outcome.out, "") << args;
        }
    }
    EXPECT_FALSE(fs::exists(folder_ / "d.zdm") || fs::exists(folder_ / "out.png"));
    const ToolOutcome help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("check [--strict] [--json] FILE..."), std::string::npos);
    EXPECT_EQ(Run("info --help").out.rfind("Usage: zdmtool info FILE", 0), 0u);
    EXPECT_EQ(Run("--version").out.rfind("zdmtool ", 0), 0u);
    EXPECT_EQ(Run("check --version").status, 0);
}
