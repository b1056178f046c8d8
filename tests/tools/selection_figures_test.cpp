#include "tools/SelectionFigures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/TerrainFixture.h"

namespace zandrel::tools {
namespace {

TEST(SelectionFigures, LowestHighestMeanAndSteepestCornerSlope) {
    auto grid = test::NewMap(4, 4);
    test::SetHeights(*grid, 1, 1, {0.0, 1.0, 0.0, 1.0, 9.0});  // 45 degrees along x
    test::SetHeights(*grid, 2, 1,
                     {-2.0, -2.0, std::sqrt(3.0) - 2, std::sqrt(3.0) - 2, 0.0});  // 60 in z
    const SelectionFigures figures = FiguresOf(*grid, map::CellRect{2, 1, 1, 1});
    ASSERT_TRUE(figures.any);
    EXPECT_EQ(figures.lowest, -2.0);
    EXPECT_EQ(figures.highest, 1.0);
    EXPECT_DOUBLE_EQ(figures.mean, (2.0 - 8.0 + 2 * std::sqrt(3.0)) / 8.0);
    EXPECT_NEAR(figures.steepestDegrees, 60.0, 1e-12);
    // The centre is no corner, and a flat block has no slope.
    EXPECT_EQ(FiguresOf(*grid, map::CellRect{0, 0, 0, 3}).steepestDegrees, 0.0);
    EXPECT_NEAR(FiguresOf(*grid, map::CellRect{1, 1, 1, 1}).steepestDegrees, 45.0, 1e-12);
    // Heights that are no numbers and cells off the map are left out.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    test::SetHeights(*grid, 3, 3, {nan, 3.0, 3.0, 3.0, 3.0});
    const SelectionFigures edge = FiguresOf(*grid, map::CellRect{3, 3, 7, 7});
    EXPECT_EQ(edge.lowest, 3.0);
    EXPECT_EQ(edge.mean, 3.0);
    EXPECT_EQ(edge.steepestDegrees, 0.0);
    EXPECT_FALSE(FiguresOf(*grid, map::CellRect{}).any);
}

}  // namespace
}  // namespace zandrel::tools
