#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/SafeFileWriter.h"
#include "support/ScratchFolder.h"

using zandrel::FailureKind;
using zandrel::Status;

namespace {

namespace fs = std::filesystem;

class FailureCauseTest : public zandrel::testsupport::ScratchFolderTest {
protected:
    Status LoadText(const std::string& text) {
        Write("map.zdm", text);
        auto grid = std::make_unique<zandrel::map::MapGrid>(50, 50);
        return zandrel::mapfile::LoadMapFile(*grid, folder_ / "map.zdm", {nullptr, nullptr});
    }
};

// Each refusal of the open and save paths carries the cause and its values, not only words.
TEST_F(FailureCauseTest, OpenFailuresCarryKindLineAttributeAndValue) {
    const Status parse = LoadText("<ZanMap SizeX=\"3\"\n\n<<< not a map");
    EXPECT_EQ(parse.cause().kind, FailureKind::ParseError);
    EXPECT_EQ(parse.cause().line, 3);
    EXPECT_NE(parse.message().find("line 3"), std::string::npos) << parse.message();

    const Status size = LoadText("<ZanMap SizeX=\"60\" SizeZ=\"10\" numtex=\"0\"></ZanMap>\n");
    EXPECT_EQ(size.cause().kind, FailureKind::AboveLimit);
    EXPECT_EQ(size.cause().attribute, "SizeX");
    EXPECT_EQ(size.cause().value, 60);
    EXPECT_EQ(size.cause().limit, 50);

    const Status name = LoadText("<ZanMap SizeX=\"1\" SizeZ=\"1\" numtex=\"1\" Tex_0=\"" +
                                 std::string(200, 'a') + "\"></ZanMap>\n");
    EXPECT_EQ(name.cause().kind, FailureKind::NameTooLong);
    EXPECT_EQ(name.cause().attribute, "Tex_0");
    EXPECT_EQ(name.cause().value, 200);

    auto grid = std::make_unique<zandrel::map::MapGrid>(50, 50);
    EXPECT_EQ(zandrel::mapfile::LoadMapFile(*grid, folder_ / "absent.zdm").cause().kind,
              FailureKind::NotFound);
}

TEST_F(FailureCauseTest, SaveFailuresCarryKind) {
    using zandrel::mapfile::ReplaceFileContents;
    EXPECT_EQ(ReplaceFileContents(folder_, "x").cause().kind, FailureKind::IsFolder);
    EXPECT_EQ(ReplaceFileContents(folder_ / "no" / "map.zdm", "x").cause().kind,
              FailureKind::NotFound);
    EXPECT_EQ(ReplaceFileContents("/dev/full", "x").cause().kind, FailureKind::DiskFull);
}

}  // namespace
