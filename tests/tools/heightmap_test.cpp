#include "tools/Heightmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "support/TerrainFixture.h"
#include "tools/EditCommands.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::SetHeights;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A 2 x 1 map with a wall: cell 0 rises to 4 on its west side, cell 1 starts again at 1 there.
std::unique_ptr<map::MapGrid> WalledPair() {
    auto grid = test::NewMap(2, 1);
    SetHeights(*grid, 0, 0, {0.0, 4.0, 2.0, 4.0, 5.0});
    SetHeights(*grid, 1, 0, {1.0, 3.0, 1.0, 7.0, 6.0});
    return grid;
}

TEST(SampleHeightField, LaysCornersCentresAndEdgeMiddlesOnTheLattice) {
    const HeightField field = SampleHeightField(*WalledPair());
    ASSERT_EQ(std::pair(field.width, field.height), std::pair(5, 3));
    // Row 0 is the z = 0 edge, row 2 the z = 1 edge; the shared corners at u = 2 take the
    // higher of the two cells' values (4 over 1 on both rows).
    const std::vector<double> expected = {
        0.0, 2.0, 4.0, 3.5, 3.0,  // NE, mid, shared NO|NE, mid, NO
        1.0, 5.0, 4.0, 6.0, 5.0,  // edge middles at even u, centres at odd u
        2.0, 3.0, 4.0, 5.5, 7.0,  // SE, mid, shared SO|SE, mid, SO
    };
    EXPECT_EQ(field.heights, expected);
    // A number beats NaN at a shared corner.
    auto grid = WalledPair();
    grid->Cell(0, 0).NO = kNaN;
    EXPECT_EQ(SampleHeightField(*grid).At(2, 0), 1.0);
    EXPECT_EQ(RangeOf(SampleHeightField(*grid)).max, 7.0);
}

// Range skips what is not finite and is zero without numbers; levels round, clamp and send NaN
// to the bottom; levels spread back over the range with its ends exact.
TEST(HeightLevels, RangeLevelsAndBackAgain) {
    const auto range = [](const HeightField& f) {
        return std::pair(RangeOf(f).min, RangeOf(f).max);
    };
    EXPECT_EQ(range({3, 1, {2.5, kNaN, -kInf}}), std::pair(2.5, 2.5));
    EXPECT_EQ(range({3, 1, {2.5, -1.0, kInf}}), std::pair(-1.0, 2.5));
    EXPECT_EQ(range({1, 1, {kNaN}}), std::pair(0.0, 0.0));

    const HeightField field{7, 1, {-1.0, 0.0, 1.0, 0.5, 9.0, kNaN, kInf}};
    const std::vector<std::uint16_t> expected = {0, 0, 65535, 32768, 65535, 0, 65535};
    EXPECT_EQ(LevelsOf(field, {0.0, 1.0}), expected);
    EXPECT_EQ(LevelsOf(field, {2.0, 2.0}), std::vector<std::uint16_t>(7, 0));

    const std::vector<std::uint16_t> levels = {0, 65535, 13107};
    const HeightField back = HeightsFromLevels(3, 1, levels, {-0.1, 0.7});
    EXPECT_EQ(std::pair(back.heights[0], back.heights[1]), std::pair(-0.1, 0.7));
    EXPECT_NEAR(back.heights[2], 0.06, 1e-12);
}

// Every cell of grid on the surface f: terrain without walls, every shared corner agreeing, as
// an imported map always has.
void SetSurface(map::MapGrid& grid, double (*f)(double x, double z)) {
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            SetHeights(grid, x, z,
                       {f(x, z), f(x + 1, z), f(x, z + 1), f(x + 1, z + 1), f(x + 0.5, z + 0.5)});
        }
    }
}

TEST(ApplyHeightField, AFieldOfTheMapsOwnSizeComesBackExactly) {
    auto source = test::NewMap(3, 2);
    SetSurface(*source, [](double x, double z) { return std::sin(x * 1.3) * 4.0 + z * z - 0.25; });
    auto target = test::NewMap(3, 2);
    ApplyHeightField(*target, SampleHeightField(*source));
    EXPECT_TRUE(test::SameHeights(*target, *source));
}

// A 2 x 2 field puts its samples on the map's outer corners and stretches bilinearly between
// them, here as h = 4x + 2z; nothing but heights and normals changes.
TEST(ApplyHeightField, StretchesAnyFieldChangingOnlyHeightsAndNormals) {
    auto grid = test::NewMap(2, 2);
    grid->Cell(1, 0) = {0, 0, 0, 0, 0, 2, 1, 1, -9.5, 3.0};
    grid->start.Set(1, 1, 1, 1);
    grid->enemies[2].Set(0, 1, 0, 1);
    auto expected = std::make_unique<map::MapGrid>(*grid);
    ApplyHeightField(*grid, {2, 2, {0.0, 8.0, 4.0, 12.0}});
    SetSurface(*expected, [](double x, double z) { return 4 * x + 2 * z; });
    EXPECT_TRUE(grid->SameContent(*expected));
    // The slope from west to east tilts the normals toward -x.
    EXPECT_LT(grid->normals[1][0][0][0], 0.0F);
    // A field without samples (or fewer than its size says) leaves the map alone.
    ApplyHeightField(*grid, {0, 0, {}});
    ApplyHeightField(*grid, {2, 2, {1.0}});
    EXPECT_TRUE(grid->SameContent(*expected));
    // One sample makes a flat map.
    ApplyHeightField(*grid, {1, 1, {2.5}});
    EXPECT_EQ(HeightsOf(grid->Cell(1, 0)), (Heights{2.5, 2.5, 2.5, 2.5, 2.5}));
}

TEST(ImportHeightField, IsOneEditThatUndoTakesBack) {
    auto doc = test::NewDocument(3, 3);
    SetHeights(doc->mapGrid, 1, 1, {1.0, 2.0, 3.0, 4.0, 5.0});
    MapSelection selection(1, 1, 1, 1);
    selection.undoSaved = true;

    EXPECT_FALSE(ImportHeightField(*doc, selection, {}));
    EXPECT_FALSE(CanUndo(*doc));
    EXPECT_TRUE(selection.undoSaved);

    ASSERT_TRUE(ImportHeightField(*doc, selection, {1, 1, {-2.0}}));
    EXPECT_EQ(HeightsOf(doc->mapGrid.Cell(1, 1)), (Heights{-2.0, -2.0, -2.0, -2.0, -2.0}));
    EXPECT_FALSE(selection.undoSaved);
    ASSERT_TRUE(EditUndo(*doc, selection));
    EXPECT_EQ(HeightsOf(doc->mapGrid.Cell(1, 1)), (Heights{1.0, 2.0, 3.0, 4.0, 5.0}));
}

}  // namespace
}  // namespace zandrel::tools
