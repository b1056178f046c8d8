// zdmtool heightmap: how a field is sampled and laid on a map, and how a PNG is read, are proven
// in tests/tools and tests/heightimage; here the verbs' own part, from a map file to a picture and
// back.
#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// Export samples every corner (2n + 1 a side) and names the range; import lays the picture back
// on the map, keeping everything but the heights, within half a level and the file's six
// decimals.
TEST_F(ZdmToolHeightmap, ExportThenImportGivesTheHeightsBackWithinOneLevel) {
    // Continuous terrain (every shared corner agrees) from -14 to 21, and a goal to keep.
    const auto corner = [](double x, double z) { return 3 * x - 2.5 * z + 0.25 * x * z; };
    auto terrain = tools::test::NewMap(7, 5);
    for (std::int32_t cell = 0; cell < 7 * 5; ++cell) {
        const double x = cell % 7;
        const double z = cell / 7;
        tools::test::SetHeights(
            *terrain, cell % 7, cell / 7,
            {corner(x, z), corner(x + 1, z), corner(x, z + 1), corner(x + 1, z + 1), 10.0 - x * z});
    }
    terrain->Cell(2, 3).goal = 1;
    Save(*terrain, "terrain.zdm");
    const ToolOutcome exported = Run("heightmap export terrain.zdm terrain.png");
    EXPECT_EQ(exported.out, "height range: -14 21\n") << exported.err;
    HeightImage image;
    ASSERT_TRUE(ReadHeightPngFile(folder_ / "terrain.png", image));
    EXPECT_EQ(std::pair(image.width, image.height), std::pair(15, 11));

    const ToolOutcome imported = Run("heightmap import terrain.zdm terrain.png back.zdm");
    EXPECT_EQ(imported.out, exported.out) << imported.err;
    const auto back = Load("back.zdm");
    EXPECT_EQ(back->Cell(2, 3).goal, 1);
    for (std::int32_t cell = 0; cell < 7 * 5; ++cell) {
        for (int i = 0; i < 5; ++i) {
            EXPECT_NEAR(HeightsOf(back->Cell(cell % 7, cell / 7))[i],
                        HeightsOf(terrain->Cell(cell % 7, cell / 7))[i], 35.0 / 65535 / 2 + 1e-6)
                << "cell " << cell << " height " << i;
        }
    }
}

// An image of another size is stretched over the map; --min and --max set the range.
TEST_F(ZdmToolHeightmap, AFlatImageOfAnySizeGivesAFlatMap) {
    Save(map::MapGrid(4, 6), "map.zdm");
    ASSERT_TRUE(WriteHeightPngFile(folder_ / "grey.png",
                                   {3, 2, std::vector<std::uint16_t>(6, 30000), std::nullopt}));
    const ToolOutcome imported = Run("heightmap import map.zdm grey.png flat.zdm --min -2 --max 8");
    EXPECT_EQ(imported.out, "height range: -2 8\n") << imported.err;
    const auto flat = Load("flat.zdm");
    for (const map::MapCell* cell : {&flat->Cell(0, 0), &flat->Cell(3, 5), &flat->Cell(2, 1)}) {
        for (const double h : HeightsOf(*cell)) {
            EXPECT_NEAR(h, -2.0 + 10.0 * 30000 / 65535, 1e-6);
        }
    }
}

}  // namespace
}  // namespace zandrel::heightimage
