// zdmtool heightmap: how a field is sampled and laid on a map, and how a PNG is read, are proven
// in tests/tools and tests/heightimage; here the verbs' own part, from a map file to a picture and
// back.
#include <gtest/gtest.h>

#include <string>

#include "support/CliTool.h"
#include "support/TerrainFixture.h"

namespace zandrel::heightimage {
namespace {

using testsupport::ToolOutcome;
using tools::test::HeightsOf;

class ZdmToolHeightmap : public testsupport::CliTest {};

// Export names the range (its samples, 2n + 1 a side, are the tools' test); import lays the
// picture back on the map, keeping everything but the heights, within half a level and the file's
// six decimals, or over the range --min and --max give.
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

    const ToolOutcome imported = Run("heightmap import terrain.zdm terrain.png back.zdm");
    EXPECT_EQ(imported.out, exported.out) << imported.err;
    const ToolOutcome scaled =
        Run("heightmap import terrain.zdm terrain.png scaled.zdm --max 8 --min -2");
    EXPECT_EQ(scaled.out, "height range: -2 8\n") << scaled.err;
    const auto back = Load("back.zdm");
    const auto rescaled = Load("scaled.zdm");
    EXPECT_EQ(back->Cell(2, 3).goal, 1);
    for (std::int32_t cell = 0; cell < 7 * 5; ++cell) {
        for (int i = 0; i < 5; ++i) {
            const double height = HeightsOf(terrain->Cell(cell % 7, cell / 7))[i];
            EXPECT_NEAR(HeightsOf(back->Cell(cell % 7, cell / 7))[i], height,
                        35.0 / 65535 / 2 + 1e-6)
                << "cell " << cell << " height " << i;
            EXPECT_NEAR(HeightsOf(rescaled->Cell(cell % 7, cell / 7))[i],
                        -2 + (height + 14) * 10 / 35, 10.0 / 65535 / 2 + 1e-6);
        }
    }
}

}  // namespace
}  // namespace zandrel::heightimage
