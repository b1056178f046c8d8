#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>

#include "map/MapGrid.h"
#include "mapfile/MapWriter.h"
#include "support/CommaDecimalLocale.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;
using zandrel::Status;
using zandrel::map::MapGrid;
using zandrel::mapfile::FormatMap;
using zandrel::mapfile::SaveMapFile;
using zandrel::mapfile::WriteMap;

using zandrel::testsupport::ReadFile;
using zandrel::testsupport::WriteFile;

namespace {

class SaveTest : public zandrel::testsupport::ScratchFolderTest {
protected:
    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), {}));
    }

    std::unique_ptr<MapGrid> grid_ = std::make_unique<MapGrid>(50, 50);
};

}  // namespace

TEST(MapWriter, NewMapMatchesTheReferenceFileByteForByte) {
    const MapGrid grid(50, 50);
    const std::string text = FormatMap(grid);
    EXPECT_EQ(text, ReadFile(fs::path(CORE_TEST_DATA) / "new_map.zdm"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 25019);
}

TEST(MapWriter, EmptySizesWriteNoCellOrTextureLinesAndMarkersTheirCorners) {
    auto grid = std::make_unique<MapGrid>(0, 50);
    grid->numtex = 0;
    grid->start.Set(1, 2, 3, 4);
    grid->enemies[2].Set(5, 6, 7, 8);
    EXPECT_EQ(FormatMap(*grid),
              "<ZanMap\n SizeX=\"0\" \n SizeZ=\"50\" \n numtex=\"0\" \n Enemys_Tex=\"2\" \n"
              " X_S=\"3\"\n Z_S=\"4\"\n"
              " Enemy_0_X=\"-1\" \n Enemy_0_Z=\"-1\" \n Enemy_1_X=\"-1\" \n Enemy_1_Z=\"-1\" \n"
              " Enemy_2_X=\"5\" \n Enemy_2_Z=\"6\" \n Enemy_3_X=\"-1\" \n Enemy_3_Z=\"-1\" \n"
              "/>\n");
}

// Cell lines have their own spacing and six decimals, the same in any locale.
TEST(MapWriter, CellLinesAreTheSameBytesInACommaDecimalLocale) {
    auto grid = std::make_unique<MapGrid>(4, 13);
    grid->cells[0][0] = {1.25, 0.5, -3.75, 1e-7, 2.5e-7, 1, 2, 1, -0.0078125, 1e300};
    grid->cells[3][12].SO = 1.2345678;
    grid->cells[3][12].grav = -0.5;
    grid->cells[2][1].C = -1234567.8901234;
    grid->Enemys_Tex = -2147483647 - 1;
    const std::string inC = FormatMap(*grid);
    for (const char* lines :
         {" NO_0_0 =\"0.500000\"\n NE_0_0 =\"1.250000\"\n SO_0_0 =\"0.000000\" \n"
          " SE_0_0 =\"-3.750000\" \n C_0_0 =\"0.000000\" \n",
          "\n NO_3_12 =\"0.000000\"\n NE_3_12 =\"0.000000\"\n SO_3_12 =\"1.234568\" \n",
          "\n grav_3_12 =\"-0.500000\" \n artr_3_12 =\"7.000000\" \n X_S=\"-1\"\n"}) {
        EXPECT_NE(inC.find(lines), std::string::npos) << lines;
    }
    const zandrel::testsupport::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    EXPECT_EQ(FormatMap(*grid), inC);
}

TEST_F(SaveTest, CreatesAndReplacesFiles) {
    const fs::path path = folder_ / "level.zdm";
    ASSERT_TRUE(SaveMapFile(*grid_, path));
    EXPECT_EQ(ReadFile(path), FormatMap(*grid_));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::owner_read, fs::perms::owner_read);

    grid_->RaiseCell(0, 0, 1.0);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(SaveMapFile(*grid_, path));
    EXPECT_EQ(ReadFile(path), FormatMap(*grid_));
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(SaveTest, UnwritablePlacesFailWithAReason) {
    WriteFile(folder_ / "file", "x");
    const fs::path places[] = {folder_ / "missing" / "level.zdm", folder_ / "file" / "level.zdm",
                               folder_, "/proc/level.zdm"};
    for (const fs::path& place : places) {
        const Status saved = SaveMapFile(*grid_, place);
        EXPECT_FALSE(saved) << place;
        EXPECT_NE(saved.message().find(place.parent_path().string()), std::string::npos)
            << saved.message();
    }
    EXPECT_EQ(ReadFile(folder_ / "file"), "x");
    EXPECT_EQ(FilesInFolder(), 1u);
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(WriteMap(*grid_, full));
    std::fclose(full);
    EXPECT_FALSE(SaveMapFile(*grid_, "/dev/full"));
}

TEST_F(SaveTest, SymbolicLinksKeepPointingAtTheSavedFile) {
    const fs::path target = folder_ / "real.zdm";
    const fs::path link = folder_ / "link.zdm";
    WriteFile(target, "old");
    fs::create_symlink(target, link);
    ASSERT_TRUE(SaveMapFile(*grid_, link));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(target), FormatMap(*grid_));
}
