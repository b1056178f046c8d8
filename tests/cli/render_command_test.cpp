#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>

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

// Every picture has the asked size and shows the map; at one size, the camera and the mode each
// change it (the textures: below), and the same request gives the same picture again.
TEST_F(ZdmToolRender, WritesAPictureOfTheAskedSizeAndEveryOptionChangesIt) {
    const heightimage::HeightImage start = Render("--size 96");
    // The options, and the width and height they ask for.
    const std::tuple<const char*, std::int32_t, std::int32_t> cases[] = {
        {"", 512, 512},
        {"--size 120x40 --camera top", 120, 40},
        {"--size 33x77 --camera iso --wireframe", 33, 77},
        {"--size 96 --camera top", 96, 96},
        {"--size 96 --camera iso", 96, 96},
        {"--size 96 --wireframe", 96, 96}};
    for (const auto& [options, width, height] : cases) {
        const heightimage::HeightImage picture = Render(options);
        EXPECT_EQ(std::pair(picture.width, picture.height), std::pair(width, height)) << options;
        EXPECT_GT(Drawn(picture), 0u) << options << ": the map is missing from the picture";
        EXPECT_NE(picture.levels, start.levels) << options;
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

// The picture is saved as maps are: that a failed save leaves nothing beside it is the safe
// writer's test (tests/mapfile).
TEST_F(ZdmToolRender, FailuresExitOneAndLeaveNoPicture) {
    Write("notamap.zdm", "\x89PNG\r\n\x1a\n this is not a map");
    Write("old.png", "the previous picture");
    // The arguments, what the message names and the picture that must not appear.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"render missing.zdm out.png", "missing.zdm", "out.png"},
        {"render notamap.zdm out.png", "notamap.zdm", "out.png"},
        {"render map.zdm nofolder/out.png", "nofolder/out.png", "nofolder/out.png"},
        {"render map.zdm .", ".", "out.png"}};
    for (const auto& [args, named, output] : cases) {
        const ToolOutcome outcome = Run(args);
        EXPECT_EQ(outcome.status, 1) << args;
        EXPECT_NE(outcome.err.find(named), std::string::npos) << args << ": " << outcome.err;
        EXPECT_FALSE(fs::exists(folder_ / output)) << args;
    }
    // A failed render over an existing picture keeps the old one whole.
    EXPECT_EQ(Run("render missing.zdm old.png").status, 1);
    EXPECT_EQ(testsupport::ReadFile(folder_ / "old.png"), "the previous picture");
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
