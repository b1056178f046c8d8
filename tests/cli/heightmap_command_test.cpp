// zdmtool heightmap: how a field is sampled and laid on a map, and how a PNG is read, are proven
// in tests/tools and tests/heightimage; here the verbs' own part, from a map file to a picture and
// back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "heightimage/HeightPngReader.h"
#include "heightimage/HeightPngWriter.h"
#include "support/CliTool.h"
#include "support/TerrainFixture.h"

namespace zandrel::heightimage {
namespace {

using testsupport::ToolOutcome;
using tools::test::HeightsOf;

class ZdmToolHeightmap : public testsupport::CliTest {};

TEST_F(ZdmToolHeightmap, ExportThenImportGivesTheHeightsBackWithinOneLevel) {
    // Continuous terrain (every shared corner agrees) from -14 to 21, and a goal to keep.
    const auto corner = [](double x, double z) { return 3 * x - 2.5 * z + 0.25 * x * z; };
    auto terrain = tools::test::NewMap(7, 5);
    for (std::int32_t x = 0; x < 7; ++x) {
        for (std::int32_t z = 0; z < 5; ++z) {
            tools::test::SetHeights(*terrain, x, z,
                                    {corner(x, z), corner(x + 1, z), corner(x, z + 1),
                                     corner(x + 1, z + 1), 10.0 - x * z});
        }
    }
    terrain->Cell(2, 3).goal = 1;
    Save(*terrain, "terrain.zdm");
    const ToolOutcome exported = Run("heightmap export terrain.zdm terrain.png");
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "height range: -14 21\n");
    HeightImage image;
    ASSERT_TRUE(ReadHeightPngFile(folder_ / "terrain.png", image));
    EXPECT_EQ(image.width, 15);
    EXPECT_EQ(image.height, 11);

    const ToolOutcome imported = Run("heightmap import terrain.zdm terrain.png back.zdm");
    EXPECT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.out, exported.out);
    const auto back = Load("back.zdm");
    EXPECT_EQ(back->Cell(2, 3).goal, 1);
    // Half a level of quantisation, and the file's six decimals.
    const double tolerance = 35.0 / 65535 / 2 + 1e-6;
    for (std::int32_t x = 0; x < 7; ++x) {
        for (std::int32_t z = 0; z < 5; ++z) {
            for (int i = 0; i < 5; ++i) {
                EXPECT_NEAR(HeightsOf(back->Cell(x, z))[i], HeightsOf(terrain->Cell(x, z))[i],
                            tolerance)
                    << x << ", " << z << " height " << i;
            }
        }
    }
}

TEST_F(ZdmToolHeightmap, AFlatImageOfAnySizeGivesAFlatMap) {
    Save(map::MapGrid(4, 6), "map.zdm");
    ASSERT_TRUE(WriteHeightPngFile(folder_ / "grey.png",
                                   {3, 2, std::vector<std::uint16_t>(6, 30000), std::nullopt}));
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
