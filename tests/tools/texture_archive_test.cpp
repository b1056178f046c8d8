#include "tools/TextureArchive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/ScratchFolder.h"
#include "support/TerrainFixture.h"

namespace zandrel::tools {
namespace {

using Names = std::vector<std::string>;

TEST(TextureArchive, RefreshWritesTheListKeepingCellSlotsAndCutsItAtFifty) {
    auto grid = test::NewMap();
    grid->numtex = 7;
    grid->Cell(1, 1).typet = 4;
    grid->Enemys_Tex = 3;
    EXPECT_EQ(RefreshTextureArchive(*grid, {}), (Names{"tile.jpg", "wall.jpg", "enemy.jpg"}));
    EXPECT_EQ(grid->numtex, 3);
    const Names list = RefreshTextureArchive(*grid, {"b.jpg", "a.jpg", "wall.jpg", "tile.jpg"});
    EXPECT_EQ(list, (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "b.jpg"}));
    EXPECT_EQ(TextureTableList(*grid), list);
    EXPECT_EQ(grid->Cell(1, 1).typet, 4);
    EXPECT_EQ(grid->Enemys_Tex, 3);

    Names files;
    for (int i = 60; i > 0; --i) {
        files.push_back("img" + std::to_string(100 + i) + ".jpg");
    }
    const Names cut = RefreshTextureArchive(*grid, files);
    ASSERT_EQ(cut.size(), 50u);
    EXPECT_EQ(cut[3], "img101.jpg");
    EXPECT_EQ(cut[49], "img147.jpg");
    EXPECT_EQ(TextureTableList(*grid), cut);
}

TEST(TextureArchive, ListHasTheFixedNamesFirstThenVisibleJpgNamesSortedIgnoringCase) {
    const std::string longest(map::TextureName::kMaxLength - 4, 'n');
    const std::string tooLong(map::TextureName::kMaxLength - 3, 'n');
    const struct {
        Names files;
        Names extra;  // after tile.jpg, wall.jpg, enemy.jpg
    } cases[] = {
        {{"c.png", ".hidden.jpg", "d.jpeg", "e.jpg", "notes.txt", "f.JPG"}, {"e.jpg"}},
        {{"c.jpg", "B.jpg", "a.jpg", "b.jpg"}, {"a.jpg", "B.jpg", "b.jpg", "c.jpg"}},
        {{"ENEMY.jpg", "rock.jpg", "Wall.jpg"}, {"rock.jpg"}},
        // The search for a fixed name starts at the second entry and wraps, so of two names
        // starting with "tile.jpg" the longer one is taken for it.
        {{"tile.jpg", "tile.jpg.jpg"}, {"tile.jpg"}},
        {{"a.jpg", "tile.jpg", "tile.jpg.jpg"}, {"a.jpg", "tile.jpg.jpg"}},
        // Names the map cannot hold are left out.
        {{longest + ".jpg", tooLong + ".jpg", "say\"hi\".jpg"}, {longest + ".jpg"}},
    };
    for (const auto& c : cases) {
        Names expected = {"tile.jpg", "wall.jpg", "enemy.jpg"};
        expected.insert(expected.end(), c.extra.begin(), c.extra.end());
        EXPECT_EQ(BuildTextureList(c.files), expected) << c.files.front();
    }
}

class DirectoryListing : public testsupport::ScratchFolderTest {};

TEST_F(DirectoryListing, HasRegularFilesOnly) {
    std::filesystem::create_directories(folder_ / "folder.jpg");
    Write("rock.jpg", "x");
    Write("read.me", "x");
    Names names;
    ASSERT_TRUE(ListDirectoryFiles(folder_, names).ok());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{"read.me", "rock.jpg"}));

    Names none;
    const Status missing = ListDirectoryFiles(folder_ / "gone", none);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("cannot list"), std::string::npos);
}

}  // namespace
}  // namespace zandrel::tools
