#include "tools/TextureArchive.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "support/TerrainFixture.h"

namespace zandrel::tools {
namespace {

using Names = std::vector<std::string>;

TEST(TextureArchive, FixedNamesFirstThenTheOtherImagesSorted) {
    auto grid = test::NewMap();
    const Names list = RefreshTextureArchive(*grid, {"b.jpg", "a.jpg", "wall.jpg", "tile.jpg"});
    EXPECT_EQ(list, (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "b.jpg"}));
    ASSERT_EQ(grid->numtex, 5);
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(grid->textures[i].View(), list[i]);
    }
}

TEST(TextureArchive, EmptyDirectoryStillListsTheFixedNames) {
    auto grid = test::NewMap();
    grid->numtex = 7;
    EXPECT_EQ(RefreshTextureArchive(*grid, {}), (Names{"tile.jpg", "wall.jpg", "enemy.jpg"}));
    EXPECT_EQ(grid->numtex, 3);
}

TEST(TextureArchive, CellsKeepTheirSlotNumbers) {
    auto grid = test::NewMap();
    grid->Cell(1, 1).typet = 4;
    grid->Enemys_Tex = 3;
    RefreshTextureArchive(*grid, {"x.jpg"});
    EXPECT_EQ(grid->Cell(1, 1).typet, 4);
    EXPECT_EQ(grid->Enemys_Tex, 3);
}

TEST(TextureArchive, OnlyVisibleJpgNamesCount) {
    EXPECT_EQ(BuildTextureList({"c.png", ".hidden.jpg", "d.jpeg", "e.jpg", "notes.txt", "f.JPG"}),
              (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "e.jpg"}));
}

TEST(TextureArchive, SortIgnoresCase) {
    EXPECT_EQ(BuildTextureList({"c.jpg", "B.jpg", "a.jpg", "b.jpg"}),
              (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "B.jpg", "b.jpg", "c.jpg"}));
}

TEST(TextureArchive, FixedNameMatchesIgnoreCase) {
    EXPECT_EQ(BuildTextureList({"ENEMY.jpg", "rock.jpg", "Wall.jpg"}),
              (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "rock.jpg"}));
}

TEST(TextureArchive, PrefixSearchStartsAtTheSecondEntryAndWraps) {
    // Both names start with "tile.jpg"; the search from the second entry finds the longer one.
    EXPECT_EQ(BuildTextureList({"tile.jpg", "tile.jpg.jpg"}),
              (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "tile.jpg"}));
    EXPECT_EQ(BuildTextureList({"a.jpg", "tile.jpg", "tile.jpg.jpg"}),
              (Names{"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "tile.jpg.jpg"}));
}

TEST(TextureArchive, NamesTheMapCannotHoldAreLeftOut) {
    const std::string longest(map::TextureName::kMaxLength - 4, 'n');
    const std::string tooLong(map::TextureName::kMaxLength - 3, 'n');
    EXPECT_EQ(BuildTextureList({longest + ".jpg", tooLong + ".jpg", "say\"hi\".jpg"}),
              (Names{"tile.jpg", "wall.jpg", "enemy.jpg", longest + ".jpg"}));
}

TEST(TextureArchive, ListIsCutToTheFiftySlots) {
    Names files;
    for (int i = 60; i > 0; --i) {
        files.push_back("img" + std::to_string(100 + i) + ".jpg");
    }
    auto grid = test::NewMap();
    const Names list = RefreshTextureArchive(*grid, files);
    ASSERT_EQ(list.size(), 50u);
    EXPECT_EQ(list[3], "img101.jpg");
    EXPECT_EQ(list[49], "img147.jpg");
    EXPECT_EQ(grid->numtex, 50);
    EXPECT_EQ(grid->textures[49].View(), "img147.jpg");
}

TEST(TextureArchive, DirectoryListingHasRegularFilesOnly) {
    namespace fs = std::filesystem;
    const fs::path dir =
        fs::temp_directory_path() / ("zandrel_textures_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "folder.jpg");
    std::ofstream(dir / "rock.jpg") << "x";
    std::ofstream(dir / "read.me") << "x";
    Names names;
    ASSERT_TRUE(ListDirectoryFiles(dir, names).ok());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (Names{"read.me", "rock.jpg"}));
    fs::remove_all(dir);

    Names none;
    const Status missing = ListDirectoryFiles(dir, none);
    EXPECT_FALSE(missing.ok());
    EXPECT_NE(missing.message().find("cannot list"), std::string::npos);
}

}  // namespace
}  // namespace zandrel::tools
