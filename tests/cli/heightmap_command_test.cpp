#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

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

TEST_F(ZdmToolHeightmap, ExportThenImportGivesTheHeightsBackWithinOneLevel) {
    Save(*RandomTerrain(), "terrain.zdm");
    const auto original = Load("terrain.zdm");
    double min = original->Cell(0, 0).NE;
    double max = min;
    for (std::int32_t x = 0; x < 7; ++x) {
        for (std::int32_t z = 0; z < 5; ++z) {
            for (const double h : HeightsOf(original->Cell(x, z))) {
                min = std::min(min, h);
                max = std::max(max, h);
            }
        }
    }
    const ToolOutcome exported = Run("heightmap export terrain.zdm terrain.png");
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "height range: " + FormatHeightRange({min, max}) + "\n");
    HeightImage image;
    ASSERT_TRUE(ReadHeightPngFile(folder_ / "terrain.png", image));
    EXPECT_EQ(image.width, 15);
    EXPECT_EQ(image.height, 11);

    const ToolOutcome imported = Run("heightmap import terrain.zdm terrain.png back.zdm");
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, exported.out);
    const auto back = Load("back.zdm");
    // Half a level of quantisation, and the file's six decimals.
    const double tolerance = (max - min) / 65535 / 2 + 1e-6;
    for (std::int32_t x = 0; x < 7; ++x) {
        for (std::int32_t z = 0; z < 5; ++z) {
            const auto a = HeightsOf(original->Cell(x, z));
            const auto b = HeightsOf(back->Cell(x, z));
            for (std::size_t i = 0; i < a.size(); ++i) {
                EXPECT_NEAR(b[i], a[i], tolerance) << x << ", " << z << " corner " << i;
            }
        }
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
    for (std::int32_t x = 0; x < 4; ++x) {
        for (std::int32_t z = 0; z < 6; ++z) {
            for (const double h : HeightsOf(flat->Cell(x, z))) {
                EXPECT_NEAR(h, -2.0 + 10.0 * 30000 / 65535, 1e-6);
            }
        }
    }
}

}  // namespace
}  // namespace zandrel::heightimage
