#include "tools/TextureFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/ScratchFolder.h"
#include "support/TerrainFixture.h"
#include "tools/MapCheck.h"
#include "tools/TextureArchive.h"

namespace zandrel::tools {
namespace {

namespace fs = std::filesystem;

// The map's folder holds "in.jpg", "sub/deep.jpg" and links of every kind; "out.jpg" lies
// beside it, outside.
class TextureFileTest : public testsupport::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        work_ = folder_ / "work";
        fs::create_directories(work_ / "sub");
        testsupport::WriteFile(work_ / "in.jpg", "inside");
        testsupport::WriteFile(work_ / "sub" / "deep.jpg", "deeper");
        testsupport::WriteFile(folder_ / "out.jpg", "outside");
    }

    Status Read(const std::string& name, std::size_t maxBytes = kMaxTextureFileBytes) {
        return ReadTextureFile(work_, name, bytes_, maxBytes);
    }

    std::string Text() const { return std::string(bytes_.begin(), bytes_.end()); }

    fs::path work_;
    std::vector<unsigned char> bytes_;
};

TEST_F(TextureFileTest, ReadsRegularFilesInsideTheFolderAndLinksThatStayInside) {
    fs::create_symlink("sub/deep.jpg", work_ / "link.jpg");
    fs::create_directory_symlink("sub", work_ / "linkdir");
    testsupport::WriteFile(work_ / "empty.jpg", "");
    const struct {
        const char* name;
        const char* text;
    } cases[] = {{"in.jpg", "inside"},
                 {"sub/deep.jpg", "deeper"},
                 {"./sub/../in.jpg", "inside"},
                 {"../work/in.jpg", "inside"},
                 {"link.jpg", "deeper"},
                 {"linkdir/deep.jpg", "deeper"},
                 {"empty.jpg", ""}};
    for (const auto& c : cases) {
        bytes_.assign(3, 'x');
        const Status status = Read(c.name);
        EXPECT_TRUE(status.ok()) << c.name << ": " << status.message();
        EXPECT_EQ(Text(), c.text) << c.name;
    }
}

TEST_F(TextureFileTest, RefusesEverythingElseAsIfMissing) {
    fs::create_symlink("../out.jpg", work_ / "escape.jpg");
    fs::create_symlink((folder_ / "out.jpg").string(), work_ / "absolute-link.jpg");
    fs::create_directory_symlink("..", work_ / "up");
    fs::create_symlink("/dev/zero", work_ / "device.jpg");
    fs::create_symlink("nowhere.jpg", work_ / "dangling.jpg");
    ASSERT_EQ(::mkfifo((work_ / "fifo.jpg").c_str(), 0600), 0);
    // A socket's inode, as a bound socket leaves it, made without a listener.
    ASSERT_EQ(::mknod((work_ / "socket.jpg").c_str(), S_IFSOCK | 0600, 0), 0);

    const std::string inside = (work_ / "in.jpg").string();
    for (const std::string name :
         {"", "missing.jpg", "../out.jpg", "sub/../../out.jpg", "escape.jpg", "absolute-link.jpg",
          "up/out.jpg", "device.jpg", "dangling.jpg", "fifo.jpg", "socket.jpg", "sub", ".",
          "/etc/passwd", "/proc/self/environ", "/dev/zero", inside.c_str()}) {
        bytes_.assign(3, 'x');
        const Status status = Read(name);
        EXPECT_FALSE(status.ok()) << '"' << name << '"';
        EXPECT_NE(status.message().find("texture " + name), std::string::npos) << status.message();
        EXPECT_TRUE(bytes_.empty()) << name;
    }
}

using Names = std::vector<std::string>;

// A folder lists its regular files only; the map check's lookup asks each of its folders.
TEST_F(TextureFileTest, ListsRegularFilesAndLooksInEachFolder) {
    Names names;
    ASSERT_TRUE(ListDirectoryFiles(folder_, names).ok());
    EXPECT_EQ(names, (Names{"out.jpg"}));
    EXPECT_NE(ListDirectoryFiles(folder_ / "gone", names).message().find("cannot list"),
              std::string::npos);
    EXPECT_TRUE(TextureFilesIn({work_})("in.jpg"));
    EXPECT_FALSE(TextureFilesIn({work_})("out.jpg"));
    EXPECT_TRUE(TextureFilesIn({work_, folder_})("out.jpg"));
}

TEST_F(TextureFileTest, RefusesFilesOverTheLimitAndAMissingFolder) {
    testsupport::WriteFile(work_ / "sixteen.jpg", std::string(16, 'a'));
    EXPECT_TRUE(Read("sixteen.jpg", 16).ok());
    EXPECT_EQ(bytes_.size(), 16u);
    EXPECT_FALSE(Read("sixteen.jpg", 15).ok());
    EXPECT_TRUE(bytes_.empty());
    EXPECT_FALSE(ReadTextureFile(folder_ / "gone", "in.jpg", bytes_).ok());
}

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

}  // namespace
}  // namespace zandrel::tools
