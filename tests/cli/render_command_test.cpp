#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "heightimage/HeightPngReader.h"
#include "support/PngBytes.h"
#include "support/ScratchFolder.h"

namespace zandrel {
namespace {

namespace fs = std::filesystem;
using testsupport::ToolOutcome;

// A picture as the heightmap reader sees it, its luminance from the top; width 0 when the file
// is not a readable PNG.
heightimage::HeightImage ReadPng(const fs::path& path) {
    heightimage::HeightImage picture;
    (void)heightimage::ReadHeightPngFile(path, picture);
    return picture;
}

// How many pixels are neither black (the clear colour) nor pure green (the axes).
std::size_t Drawn(const heightimage::HeightImage& picture) {
    heightimage::HeightImage green;
    EXPECT_TRUE(heightimage::DecodeHeightPng(testsupport::SimplePng(PNG_FORMAT_RGB, 1, {0, 255, 0}),
                                             green));
    return std::count_if(picture.levels.begin(), picture.levels.end(), [&](std::uint16_t level) {
        return level != 0 && level != green.levels.at(0);
    });
}

class ZdmToolRender : public testsupport::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        // The textures of a new map, beside it as a level designer keeps them.
        for (const char* name : {"tile.jpg", "wall.jpg", "enemy.jpg", "start.jpg"}) {
            fs::copy_file(fs::path(ASSETS_DIR) / name, folder_ / name);
        }
        ASSERT_EQ(Run("new map.zdm").status, 0);
    }

    // Without a display, as over SSH or in a file manager's thumbnail job.
    ToolOutcome Run(const std::string& args) const {
        return RunInFolder("/usr/bin/env", "-u DISPLAY -u WAYLAND_DISPLAY '" +
                                               std::string(ZDMTOOL_PATH) + "' " + args);
    }

    heightimage::HeightImage Render(const std::string& options) const {
        const ToolOutcome outcome = Run("render " + options + " map.zdm out.png");
        EXPECT_EQ(outcome.status, 0) << options << ": " << outcome.err;
        return ReadPng(folder_ / "out.png");
    }
};

// Every picture has the asked size and shows the map; at one size, the camera, the mode and
// the textures each change it, and the same request gives the same picture again.
TEST_F(ZdmToolRender, WritesAPictureOfTheAskedSizeAndEveryOptionChangesIt) {
    fs::create_directories(folder_ / "empty");
    const heightimage::HeightImage start = Render("--size 96");
    struct Case {
        const char* options;
        std::int32_t width;
        std::int32_t height;
    };
    for (const Case c :
         {Case{"", 512, 512}, Case{"--size 120x40 --camera top", 120, 40},
          Case{"--size 33x77 --camera iso --wireframe", 33, 77},
          Case{"--size 96 --camera top", 96, 96}, Case{"--size 96 --camera iso", 96, 96},
          Case{"--size 96 --wireframe", 96, 96}, Case{"--size 96 --textures empty", 96, 96}}) {
        const heightimage::HeightImage picture = Render(c.options);
        EXPECT_EQ(picture.width, c.width) << c.options;
        EXPECT_EQ(picture.height, c.height) << c.options;
        EXPECT_GT(Drawn(picture), 0u) << c.options << ": the map is missing from the picture";
        EXPECT_NE(picture.levels, start.levels) << c.options;
    }
    EXPECT_EQ(Render("--size 96").levels, start.levels);
    // The top view is framed to fit: most of the square is map, not background.
    const heightimage::HeightImage top = Render("--size 100 --camera top");
    EXPECT_GT(Drawn(top), static_cast<std::size_t>(top.width * top.height * 3 / 4));
}

// Textures are looked for beside the map, then in the folder zdmtool runs in, and only in the
// --textures folder when one is given. Which names resolve inside a folder is the texture
// reader's rule (tests/tools).
TEST_F(ZdmToolRender, TexturesComeFromBesideTheMapThenTheWorkingFolder) {
    fs::create_directories(folder_ / "maps" / "empty");
    fs::copy_file(folder_ / "map.zdm", folder_ / "maps" / "map.zdm");
    const auto render = [&](const std::string& args) {
        EXPECT_EQ(Run("render --size 64 --camera top " + args + " out.png").status, 0) << args;
        return ReadPng(folder_ / "out.png").levels;
    };
    const auto fromWorkingFolder = render("maps/map.zdm");
    EXPECT_EQ(fromWorkingFolder, render("map.zdm"));
    EXPECT_NE(fromWorkingFolder, render("--textures maps/empty maps/map.zdm"));
    fs::copy_file(folder_ / "wall.jpg", folder_ / "maps" / "tile.jpg");
    EXPECT_NE(fromWorkingFolder, render("maps/map.zdm"));
}

TEST_F(ZdmToolRender, FailuresExitOneAndLeaveNoPicture) {
    Write("notamap.zdm", "\x89PNG\r\n\x1a\n this is not a map");
    Write("old.png", "the previous picture");
    struct Case {
        const char* args;
        const char* message;
        const char* output;
    };
    for (const Case c :
         {Case{"render missing.zdm out.png", "missing.zdm", "out.png"},
          Case{"render notamap.zdm out.png", "notamap.zdm", "out.png"},
          Case{"render map.zdm nofolder/out.png", "nofolder/out.png", "nofolder/out.png"},
          Case{"render map.zdm .", ".", "out.png"}}) {
        const ToolOutcome outcome = Run(c.args);
        EXPECT_EQ(outcome.status, 1) << c.args;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << c.args << ": " << outcome.err;
        EXPECT_FALSE(fs::exists(folder_ / c.output)) << c.args;
    }
    // A failed render over an existing picture keeps the old one whole.
    EXPECT_EQ(Run("render missing.zdm old.png").status, 1);
    EXPECT_EQ(testsupport::ReadFile(folder_ / "old.png"), "the previous picture");
    // Nothing half-written is left beside the outputs either.
    for (const auto& entry : fs::directory_iterator(folder_)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".zdm-")) << entry.path();
    }
}

// zdmtool links no OpenGL library itself; a copy without its renderer still reads maps and
// says why it cannot draw them.
TEST_F(ZdmToolRender, ZdmtoolWithoutItsRendererFailsOnlyRender) {
    fs::create_directory(folder_ / "alone");
    const fs::path lone = folder_ / "alone" / "zdmtool";
    fs::copy_file(ZDMTOOL_PATH, lone);
    EXPECT_EQ(RunInFolder(lone.string(), "check map.zdm").status, 0);
    const ToolOutcome outcome = RunInFolder(lone.string(), "render map.zdm out.png");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("cannot start the renderer"), std::string::npos) << outcome.err;
    EXPECT_FALSE(fs::exists(folder_ / "out.png"));
}

}  // namespace
}  // namespace zandrel
