#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/SafeFileWriter.h"
#include "support/ScratchFolder.h"

namespace zandrel {
namespace {

namespace fs = std::filesystem;

class FailureCauseTest : public testsupport::ScratchFolderTest {};

// Each refusal of the open and save paths carries the cause and its values, not only words:
// the editor words its messages from them.
TEST_F(FailureCauseTest, OpenAndSaveFailuresCarryKindLineAttributeAndValue) {
    Write("parse.zdm", "<ZanMap SizeX=\"3\"\n\n<<< not a map");
    Write("size.zdm", "<ZanMap SizeX=\"60\" SizeZ=\"10\" numtex=\"0\"></ZanMap>\n");
    Write("name.zdm", "<ZanMap numtex=\"1\" Tex_0=\"" + std::string(200, 'a') + "\"/>");
    const auto opened = [&](const char* name) {
        auto grid = std::make_unique<map::MapGrid>(50, 50);
        return mapfile::LoadMapFile(*grid, folder_ / name, {nullptr, nullptr}).cause();
    };
    const auto saved = [](const fs::path& path) {
        return mapfile::ReplaceFileContents(path, "x").cause();
    };
    // What came, and what is expected of kind, line, attribute, value and limit.
    const std::pair<FailureCause, FailureCause> cases[] = {
        {opened("parse.zdm"), {FailureKind::ParseError, 3, "", 0, 0}},
        {opened("size.zdm"), {FailureKind::AboveLimit, 0, "SizeX", 60, 50}},
        {opened("name.zdm"), {FailureKind::NameTooLong, 0, "Tex_0", 200, 119}},
        {opened("absent.zdm"), {FailureKind::NotFound, 0, "", 0, 0}},
        {saved(folder_), {FailureKind::IsFolder, 0, "", 0, 0}},
        {saved(folder_ / "no" / "map.zdm"), {FailureKind::NotFound, 0, "", 0, 0}},
        {saved("/dev/full"), {FailureKind::DiskFull, 0, "", 0, 0}},
    };
    const auto fields = [](const FailureCause& c) {
        return std::tie(c.kind, c.line, c.attribute, c.value, c.limit);
    };
    for (const auto& [got, want] : cases) {
        EXPECT_EQ(fields(got), fields(want)) << static_cast<int>(want.kind);
    }
}

}  // namespace
}  // namespace zandrel
