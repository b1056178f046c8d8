#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "heightimage/HeightPngReader.h"
#include "heightimage/HeightPngWriter.h"
#include "heightimage/HeightRangeText.h"
#include "support/CliTool.h"
#include "support/TerrainFixture.h"

namespace zandrel::heightimage {
namespace {

using testsupport::ToolOutcome;
using tools::test::HeightsOf;

class ZdmToolHeightmap : public testsupport::CliTest {
protected:
    void WritePng(const HeightImage& image, const std::string& name) const {
        ASSERT_TRUE(WriteHeightPngFile(folder_ / name, image));
    }
};

// A 7 x 5 map of random but continuous terrain (every shared corner agrees), with textures,
// attributes, a goal, the start and an enemy that an import must leave alone.
std::unique_ptr<map::MapGrid> RandomTerrain() {
    auto grid = std::make_unique<map::MapGrid>(7, 5);
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> height(-20.0, 35.0);
    double corners[8][6];
    for (auto& column : corners) {
        for (double& h : column) {
            h = height(random);
        }
    }
    for (std::int32_t x = 0; x < 7; ++x) {
        for (std::int32_t z = 0; z < 5; ++z) {
            // clang-format off
            grid->Cell(x, z) = {corners[x][z], corners[x + 1][z], corners[x][z + 1],
                                corners[x + 1][z + 1], height(random), x % 3, 1, (x + z) % 4 == 0,
                                -100.0 - z, 3.5 + x};
            // clang-format on
        }
    }
    grid->start.Set(2, 3, 2, 3);
    grid->enemies[1].Set(6, 4, 6, 4);
    return grid;
}

// Every height of the map, cell by cell.
std::vector<double> AllHeights(const map::MapGrid& grid) {
    std::vector<double> heights;
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            const auto cell = HeightsOf(grid.Cell(x, z));
            heights.insert(heights.end(), cell.begin(), cell.end());
        }
    }
    return heights;
}

TEST_F(ZdmToolHeightmap, ExportThenImportGivesTheHeightsBackWithinOneLevel) {
    Save(*RandomTerrain(), "terrain.zdm");
    const auto original = Load("terrain.zdm");
    const std::vector<double> heights = AllHeights(*original);
    const auto [min, max] = std::minmax_element(heights.begin(), heights.end());
    const ToolOutcome exported = Run("heightmap export terrain.zdm terrain.png");
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "height range: " + FormatHeightRange({*min, *max}) + "\n");
    HeightImage image;
    ASSERT_TRUE(ReadHeightPngFile(folder_ / "terrain.png", image));
    EXPECT_EQ(image.width, 15);
    EXPECT_EQ(image.height, 11);

    const ToolOutcome imported = Run("heightmap import terrain.zdm terrain.png back.zdm");
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, exported.out);
    const auto back = Load("back.zdm");
    const std::vector<double> backHeights = AllHeights(*back);
    ASSERT_EQ(backHeights.size(), heights.size());
    // Half a level of quantisation, and the file's six decimals.
    const double tolerance = (*max - *min) / 65535 / 2 + 1e-6;
    for (std::size_t i = 0; i < heights.size(); ++i) {
        EXPECT_NEAR(backHeights[i], heights[i], tolerance) << "height " << i;
    }
    // With the heights made equal, nothing else differs.
    back->SaveTo(*original);
    EXPECT_TRUE(original->SameContent(*back));
}

TEST_F(ZdmToolHeightmap, AFlatImageOfAnySizeGivesAFlatMap) {
    Save(map::MapGrid(4, 6), "map.zdm");
    WritePng({3, 2, std::vector<std::uint16_t>(6, 30000), std::nullopt}, "grey.png");
    const ToolOutcome imported = Run("heightmap import map.zdm grey.png flat.zdm --min -2 --max 8");
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, "height range: -2 8\n");
    const auto flat = Load("flat.zdm");
    for (const double h : AllHeights(*flat)) {
        EXPECT_NEAR(h, -2.0 + 10.0 * 30000 / 65535, 1e-6);
    }
}

}  // namespace
}  // namespace zandrel::heightimage
