#include "tools/HeightSampling.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/TerrainFixture.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::NewMap;
using test::SetHeights;

constexpr double kHalfDiagonal = 0.7071067811865476;

TEST(SampleHeight, WholeNumberPointReadsThatCellsNECornerNotANeighbours) {
    auto grid = NewMap();
    grid->Cell(3, 4).NE = 7.0;
    grid->Cell(2, 4).NO = 99.0;
    grid->Cell(3, 3).SE = 99.0;
    grid->Cell(2, 3).SO = 99.0;
    EXPECT_EQ(sampleHeight(*grid, 3.0, 4.0), 7.0);
}

TEST(SampleHeight, CellCentreReadsCExactly) {
    auto grid = NewMap();
    SetHeights(*grid, 2, 5, {1.0, 2.0, 3.0, 4.0, 2.25});
    EXPECT_EQ(sampleHeight(*grid, 2.5, 5.5), 2.25);
}

TEST(SampleHeight, FarEdgeAndNegativePositionsAreOutside) {
    auto grid = NewMap(10, 8);
    EXPECT_EQ(sampleHeight(*grid, 10.0, 1.0), OUTSIDE_HEIGHT);
    EXPECT_EQ(sampleHeight(*grid, 1.0, 8.0), OUTSIDE_HEIGHT);
    EXPECT_EQ(sampleHeight(*grid, -0.25, 1.0), OUTSIDE_HEIGHT);
    EXPECT_EQ(sampleHeight(*grid, 1.0, -0.001), OUTSIDE_HEIGHT);
    EXPECT_EQ(sampleHeight(*grid, std::nan(""), 1.0), OUTSIDE_HEIGHT);
    EXPECT_EQ(sampleHeight(*grid, 1e300, 1.0), OUTSIDE_HEIGHT);
    EXPECT_EQ(OUTSIDE_HEIGHT, -200.0);
}

TEST(SampleHeight, MiddleOfAnEdgeIsPulledTowardTheCentre) {
    auto grid = NewMap();
    SetHeights(*grid, 4, 4, {2.0, 2.0, 0.0, 0.0, 0.0});
    EXPECT_DOUBLE_EQ(sampleHeight(*grid, 4.5, 4.0), 2 * kHalfDiagonal);
}

TEST(SampleHeight, PointsOnEitherDiagonalNearTheNorthEdgeUseNEAndNO) {
    auto grid = NewMap();
    // SE and SO far off, so any use of them would show.
    SetHeights(*grid, 1, 1, {1.0, 3.0, 100.0, 100.0, 0.0});
    // Main diagonal at (0.25, 0.25): w = 0.5 and dA = sqrt(0.125).
    const double dMain = std::sqrt(0.125);
    EXPECT_DOUBLE_EQ(sampleHeight(*grid, 1.25, 1.25), 0.5 * ((1 - dMain) * 1.0 + dMain * 3.0));
    // Anti-diagonal at (0.75, 0.25): w = 0.5 and dA = sqrt(0.625).
    const double dAnti = std::sqrt(0.625);
    EXPECT_DOUBLE_EQ(sampleHeight(*grid, 1.75, 1.25), 0.5 * ((1 - dAnti) * 1.0 + dAnti * 3.0));
}

TEST(SetNearestVertex, PointNearNOSetsItAndRederivesTheCentre) {
    auto grid = NewMap();
    setNearestVertex(*grid, 3.9, 2.1, 5.0);
    EXPECT_EQ(HeightsOf(grid->Cell(3, 2)), (Heights{0.0, 5.0, 0.0, 0.0, 2.5}));
}

TEST(SetNearestVertex, ExactCentreSetsOnlyC) {
    auto grid = NewMap();
    SetHeights(*grid, 3, 3, {1.0, 2.0, 3.0, 4.0, 2.5});
    setNearestVertex(*grid, 3.5, 3.5, 9.0);
    EXPECT_EQ(HeightsOf(grid->Cell(3, 3)), (Heights{1.0, 2.0, 3.0, 4.0, 9.0}));
}

TEST(SetNearestVertex, FourCornerPointsLeaveTheCentreAtTheSameHeight) {
    auto grid = NewMap();
    SetHeights(*grid, 6, 1, {1.0, -2.0, 3.0, 4.0, 7.0});
    for (const auto& [x, z] : {std::pair{6.1, 1.1}, {6.9, 1.1}, {6.1, 1.9}, {6.9, 1.9}}) {
        setNearestVertex(*grid, x, z, -1.5);
    }
    EXPECT_EQ(HeightsOf(grid->Cell(6, 1)), (Heights{-1.5, -1.5, -1.5, -1.5, -1.5}));
}

TEST(SetNearestVertex, OffTheMapChangesNothing) {
    auto grid = NewMap();
    const auto before = *grid;
    setNearestVertex(*grid, 10.1, 2.0, 5.0);
    setNearestVertex(*grid, 2.0, -1.0, 5.0);
    setNearestVertex(*grid, std::nan(""), 2.0, 5.0);
    EXPECT_TRUE(test::SameHeights(*grid, before));
}

TEST(SetNearestVertex, SmallNegativePositionTruncatesToTheFirstCell) {
    auto grid = NewMap();
    // (-0.5, 0.5) lies as far from NE as from SE; the tie goes to SE.
    setNearestVertex(*grid, -0.5, 0.5, 4.0);
    EXPECT_EQ(HeightsOf(grid->Cell(0, 0)), (Heights{0.0, 0.0, 4.0, 0.0, 2.0}));
}

TEST(LineOfSight, ShortSegmentOrOneAboveTheGroundIsClear) {
    auto grid = NewMap();
    grid->RaiseCell(2, 2, 50.0);
    EXPECT_TRUE(lineOfSightClear(*grid, 2.2f, 0.0f, 2.2f, 2.8f, 0.0f, 2.8f));
    EXPECT_TRUE(lineOfSightClear(*grid, 4.5f, 1.0f, 4.5f, 8.5f, 1.0f, 8.5f));
}

TEST(LineOfSight, RidgeAcrossTheSegmentBlocksIt) {
    auto grid = NewMap();
    for (std::int32_t z = 0; z < 10; ++z) {
        grid->RaiseCell(5, z, 10.0);
    }
    EXPECT_FALSE(lineOfSightClear(*grid, 1.5f, 2.0f, 5.5f, 8.5f, 2.0f, 5.5f));
}

TEST(LineOfSight, TerrainAboveTheStartPointBlocks) {
    auto grid = NewMap();
    EXPECT_FALSE(lineOfSightClear(*grid, 2.5f, -1.0f, 2.5f, 6.5f, 5.0f, 2.5f));
}

TEST(LineOfSight, SideProbeOneUnitBesideTheStartBlocks) {
    auto grid = NewMap();
    // The segment itself runs over flat cells of column 4; column 3 beside its start is high.
    grid->RaiseCell(3, 5, 10.0);
    EXPECT_FALSE(lineOfSightClear(*grid, 4.5f, 1.0f, 5.5f, 4.5f, 1.0f, 9.5f));
    // At the far end the side offset has shrunk to nothing.
    auto other = NewMap();
    other->RaiseCell(3, 9, 10.0);
    EXPECT_TRUE(lineOfSightClear(*other, 4.5f, 1.0f, 5.5f, 4.5f, 1.0f, 9.5f));
}

TEST(LineOfSight, OffTheMapOnlyAVeryLowSegmentIsBlocked) {
    auto grid = NewMap();
    EXPECT_TRUE(lineOfSightClear(*grid, -9.0f, -100.0f, -9.0f, -2.0f, -100.0f, -2.0f));
    EXPECT_FALSE(lineOfSightClear(*grid, -9.0f, -300.0f, -9.0f, -2.0f, -300.0f, -2.0f));
}

}  // namespace
}  // namespace zandrel::tools
