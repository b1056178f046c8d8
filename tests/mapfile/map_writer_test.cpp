#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "map/MapGrid.h"
#include "mapfile/MapWriter.h"
#include "support/CommaDecimalLocale.h"
#include "support/ScratchFolder.h"

namespace fs = std::filesystem;
using zandrel::map::MapGrid;
using zandrel::mapfile::FormatMap;
using zandrel::testsupport::ReadFile;

TEST(MapWriter, NewMapMatchesTheReferenceFileByteForByte) {
    EXPECT_EQ(FormatMap(MapGrid(50, 50)), ReadFile(fs::path(CORE_TEST_DATA) / "new_map.zdm"));
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

TEST(MapWriter, TheSameBytesInACommaDecimalLocale) {
    auto grid = std::make_unique<MapGrid>(2, 3);
    grid->cells[1][2] = {1.25, 0.5, -3.75, 1e-7, 2.5e-7, 1, 2, 1, -0.0078125, 1e300};
    grid->Enemys_Tex = -2147483647 - 1;
    const std::string inC = FormatMap(*grid);
    EXPECT_NE(inC.find(" NO_1_2 =\"0.500000\"\n NE_1_2 =\"1.250000\"\n"), std::string::npos);
    const zandrel::testsupport::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    EXPECT_EQ(FormatMap(*grid), inC);
}

// How the file is replaced is ReplaceFileContents's business; the writer must hand it the text
// and pass its failures on.
TEST(MapWriter, SavesTheTextAndReportsFailures) {
    const auto grid = std::make_unique<MapGrid>(3, 2);
    const fs::path path =
        fs::temp_directory_path() / ("zandrel_writer_" + std::to_string(::getpid()));
    ASSERT_TRUE(zandrel::mapfile::SaveMapFile(*grid, path));
    EXPECT_EQ(ReadFile(path), FormatMap(*grid));
    fs::remove(path);
    EXPECT_FALSE(zandrel::mapfile::SaveMapFile(*grid, "/nonexistent/level.zdm"));
    std::FILE* full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    EXPECT_FALSE(zandrel::mapfile::WriteMap(*grid, full));
    std::fclose(full);
}
