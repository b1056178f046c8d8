#include "map/MapGrid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

#include "mapfile/MapLoader.h"
#include "mapfile/SafeFileWriter.h"
#include "support/ScratchFolder.h"

namespace zandrel {
namespace {

using map::CellNormals;
using map::MapCell;
using map::MapGrid;
namespace fs = std::filesystem;

// Sizes, textures, markers and cell values of a new map are pinned byte for byte by the
// writer's reference file; what a file does not hold is checked here.
TEST(MapGrid, NewMapHasContentAndNoSelectionADefaultGridNothing) {
    const auto grid = std::make_unique<MapGrid>(50, 50);
    EXPECT_TRUE(grid->hasContent);
    EXPECT_TRUE(grid->selection.IsUnset());
    const auto empty = std::make_unique<MapGrid>();
    EXPECT_FALSE(empty->hasContent);
    EXPECT_TRUE(empty->start.IsUnset());
    EXPECT_TRUE(empty->wallArea.IsUnset());
    EXPECT_FALSE(empty->start.Contains(0, 0));
    const map::CellRect rect{2, 3, 5, 9};
    EXPECT_TRUE(rect.Contains(2, 3) && rect.Contains(5, 9));
    EXPECT_FALSE(rect.Contains(6, 9) || rect.Contains(2, 10) || rect.Contains(1, 3) ||
                 rect.Contains(2, 2));
}

// A new map faces up everywhere. Its NO corner stands at local (+1, -1); raising it tilts the
// two triangles that touch it to face away from it, towards -x and +z; the other two stay flat.
TEST(MapGrid, NormalsFaceUpAndFollowTheTrianglesOfARaisedCorner) {
    const auto grid = std::make_unique<MapGrid>(50, 50);
    const std::array<float, 3> up{0.0f, 2.0f, 0.0f};
    for (int cell = 0; cell < 50 * 50; ++cell) {
        ASSERT_EQ(grid->normals[cell % 50][cell / 50], (CellNormals{up, up, up, up})) << cell;
    }
    grid->cells[0][0].NO = 1.0;
    grid->ComputeNormals();
    const std::array<float, 3> tilted{-1.0f, 2.0f, 1.0f};
    EXPECT_EQ(grid->normals[0][0], (CellNormals{tilted, up, up, tilted}));
}

TEST(MapGrid, SaveToCopiesHeightsOnlyAndMovesTheContentFlag) {
    const auto map = std::make_unique<MapGrid>(50, 50);
    const auto snapshot = std::make_unique<MapGrid>();
    snapshot->cells[2][2].grav = 5.0;
    map->RaiseCell(2, 2, 3.0);
    map->cells[2][2].goal = 1;
    map->SaveTo(*snapshot);
    EXPECT_TRUE(snapshot->hasContent);
    EXPECT_FALSE(map->hasContent);
    EXPECT_EQ(snapshot->SizeX, 50);
    EXPECT_EQ(snapshot->cells[2][2], (MapCell{3, 3, 3, 3, 3, 0, 0, 0, 5.0, 0.0}));
    map->SetCellHeight(2, 2, -1.0);
    snapshot->SaveTo(*map);  // undo
    EXPECT_EQ(map->cells[2][2], (MapCell{3, 3, 3, 3, 3, 0, 1, 1, -160.0, 7.0}));
    EXPECT_FALSE(snapshot->hasContent);
}

// Same content is what a save would write: heights bit for bit (a NaN equals itself, -0 is
// not 0), and nothing of cells, slots or places outside what is in use.
TEST(MapGrid, SameContentComparesWhatASaveWrites) {
    const struct {
        void (*change)(MapGrid&);
        bool same;
    } cases[] = {
        {[](MapGrid& g) { g.cells[1][1].C = std::nan(""); }, true},
        {[](MapGrid& g) { g.cells[3][0].SO = 5.0; }, true},
        {[](MapGrid& g) { g.textures[3].Assign("x.jpg"); }, true},
        {[](MapGrid& g) { g.selection.Set(1, 1, 1, 1); }, true},
        {[](MapGrid& g) { g.cells[2][1].SE = -0.0; }, false},
        {[](MapGrid& g) { g.cells[0][0].artr = 7.5; }, false},
        {[](MapGrid& g) { g.textures[2].Assign("x.jpg"); }, false},
        {[](MapGrid& g) { g.enemies[3].Set(0, 0, 0, 0); }, false},
        {[](MapGrid& g) { g.start.Set(0, 0, 0, 0); }, false},
        {[](MapGrid& g) { g.SizeZ = 1; }, false},
    };
    for (const auto& c : cases) {
        const auto a = std::make_unique<MapGrid>(3, 2);
        a->cells[1][1].C = std::nan("");
        const auto b = std::make_unique<MapGrid>(*a);
        c.change(*b);
        EXPECT_EQ(a->SameContent(*b), c.same);
        EXPECT_EQ(b->SameContent(*a), c.same);
    }
}

class FailureCauseTest : public testsupport::ScratchFolderTest {};

// Each refusal of the open and save paths carries the cause and its values, not only words:
// the editor words its messages from them. The line of a parse error and the attribute and value
// of a size above the limit are the shell's test (tests/app, maps of the command line).
TEST_F(FailureCauseTest, OpenAndSaveFailuresCarryKindLineAttributeAndValue) {
    Write("name.zdm", "<ZanMap numtex=\"1\" Tex_0=\"" + std::string(200, 'a') + "\"/>");
    const auto opened = [&](const char* name) {
        auto grid = std::make_unique<MapGrid>(50, 50);
        return mapfile::LoadMapFile(*grid, folder_ / name, {nullptr, nullptr}).cause();
    };
    const auto saved = [](const fs::path& path) {
        return mapfile::ReplaceFileContents(path, "x").cause();
    };
    // What came, and what is expected of kind, line, attribute, value and limit.
    const std::pair<FailureCause, FailureCause> cases[] = {
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
