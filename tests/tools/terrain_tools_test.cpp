#include <gtest/gtest.h>

#include "support/TerrainFixture.h"
#include "tools/MapSelection.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::SetHeights;

Heights Flat(double h) {
    return {h, h, h, h, h};
}

// One document and a selection on it, as a view holds them.
struct Terrain {
    std::unique_ptr<DocumentState> doc = test::NewDocument();
    map::MapGrid& map = doc->mapGrid;

    void Flatten(std::int32_t x, std::int32_t z, double h) { SetHeights(map, x, z, Flat(h)); }
    Heights At(std::int32_t x, std::int32_t z) const { return HeightsOf(map.Cell(x, z)); }
    void Apply(MapSelection& s, std::int32_t mode, double v) {
        s.applyTool(map, doc->undoGrid, mode, v);
    }
};

TEST(Flatten, OddBlockTakesTheMiddleCellsNECorner) {
    Terrain t;
    t.Flatten(2, 2, 9.0);
    t.map.Cell(3, 3).NE = 4.0;
    t.Flatten(4, 4, -3.0);
    MapSelection s(2, 2, 4, 4);
    t.Apply(s, TOOL_FLATTEN, 0.0);
    for (std::int32_t x = 2; x <= 4; ++x) {
        for (std::int32_t z = 2; z <= 4; ++z) {
            EXPECT_EQ(t.At(x, z), Flat(4.0)) << x << "," << z;
        }
    }
    EXPECT_EQ(t.At(5, 4), Flat(0.0));
}

TEST(Flatten, EvenBlockTakesTheFirstCellsNECornerPlusValue) {
    Terrain t;
    t.map.Cell(2, 2).NE = 1.5;
    t.Flatten(3, 3, 8.0);
    MapSelection s(2, 2, 3, 3);
    t.Apply(s, TOOL_FLATTEN, 2.0);
    EXPECT_EQ(t.At(3, 3), Flat(3.5));
    EXPECT_EQ(t.At(2, 3), Flat(3.5));
}

TEST(Raise, WheelNotchRaisesFiveHeightsByOneLeavingAStep) {
    Terrain t;
    SetHeights(t.map, 3, 3, {0.5, 1.0, -1.0, 2.0, 0.25});
    MapSelection s(3, 3, 4, 3);
    t.Apply(s, TOOL_RAISE, 1.0);
    EXPECT_EQ(t.At(3, 3), (Heights{1.5, 2.0, 0.0, 3.0, 1.25}));
    EXPECT_EQ(t.At(4, 3), Flat(1.0));
    EXPECT_EQ(t.At(2, 3), Flat(0.0));
    EXPECT_EQ(t.At(5, 3), Flat(0.0));
}

TEST(SetHeight, EveryCellTakesTheValue) {
    Terrain t;
    MapSelection s(1, 1, 2, 2);
    t.Apply(s, TOOL_SET_HEIGHT, -7.25);
    EXPECT_EQ(t.At(2, 2), Flat(-7.25));
    EXPECT_EQ(t.At(3, 2), Flat(0.0));
}

TEST(Landslide, SingleCellMovesOnlyItsCentreByTenthsOfTheValue) {
    Terrain t;
    MapSelection s(5, 5, 5, 5);
    t.Apply(s, TOOL_LANDSLIDE, 3.0);
    // A tenth as a product, which is not the same double as 3 / 10.
    EXPECT_EQ(t.At(5, 5), (Heights{0.0, 0.0, 0.0, 0.0, 3 * 0.1}));
}

TEST(Landslide, RowMovesItsInnerBoundariesToTheRightCellsNEPlusValue) {
    Terrain t;
    t.Flatten(2, 3, 0.0);
    t.Flatten(3, 3, 0.5);
    t.Flatten(4, 3, 2.0);
    MapSelection s(2, 3, 4, 3);
    t.Apply(s, TOOL_LANDSLIDE, 10.0);
    EXPECT_EQ(t.At(2, 3), (Heights{0.0, 1.5, 0.0, 1.5, 0.75}));
    EXPECT_EQ(t.At(3, 3), (Heights{1.5, 3.0, 1.5, 3.0, 2.25}));
    EXPECT_EQ(t.At(4, 3), (Heights{3.0, 2.0, 3.0, 2.0, 2.5}));
}

TEST(Tilt, LevelBlockRisesAwayFromTheFirstCellForPositiveValues) {
    Terrain t;
    MapSelection s(2, 3, 4, 4);
    t.Apply(s, TOOL_TILT, 100.0);
    for (std::int32_t z = 3; z <= 4; ++z) {
        EXPECT_EQ(t.At(2, z), (Heights{0.0, 1.0, 0.0, 1.0, 0.5}));
        EXPECT_EQ(t.At(3, z), (Heights{1.0, 2.0, 1.0, 2.0, 1.5}));
        EXPECT_EQ(t.At(4, z), Flat(2.0));
    }
}

TEST(Tilt, LevelBlockRisesAwayFromTheLastCellForNegativeValues) {
    Terrain t;
    MapSelection s(2, 3, 4, 4);
    t.Apply(s, TOOL_TILT, -100.0);
    for (std::int32_t z = 3; z <= 4; ++z) {
        EXPECT_EQ(t.At(2, z), (Heights{2.0, 1.0, 2.0, 1.0, 1.5}));
        EXPECT_EQ(t.At(3, z), (Heights{1.0, 0.0, 1.0, 0.0, 0.5}));
        EXPECT_EQ(t.At(4, z), Flat(0.0));
    }
}

TEST(Tilt, LowerFirstCornerAddsStepsCountedFromTheFirstCell) {
    Terrain t;
    t.Flatten(4, 3, 5.0);
    MapSelection up(2, 3, 4, 3);
    t.Apply(up, TOOL_TILT, 100.0);
    EXPECT_EQ(t.At(2, 3), (Heights{0.0, 1.0, 0.0, 1.0, 0.5}));
    EXPECT_EQ(t.At(3, 3), (Heights{1.0, 7.0, 1.0, 7.0, 4.0}));
    EXPECT_EQ(t.At(4, 3), Flat(7.0));

    Terrain down;
    down.Flatten(4, 3, 5.0);
    MapSelection s(2, 3, 4, 3);
    down.Apply(s, TOOL_TILT, -100.0);
    EXPECT_EQ(down.At(2, 3), (Heights{0.0, -1.0, 0.0, -1.0, -0.5}));
    EXPECT_EQ(down.At(3, 3), (Heights{-1.0, 3.0, -1.0, 3.0, 1.0}));
    EXPECT_EQ(down.At(4, 3), Flat(3.0));
}

TEST(Tilt, HigherFirstCornerSubtractsStepsCountedFromTheLastCell) {
    Terrain t;
    t.Flatten(2, 3, 5.0);
    MapSelection s(2, 3, 4, 3);
    t.Apply(s, TOOL_TILT, 100.0);
    EXPECT_EQ(t.At(2, 3), (Heights{3.0, -1.0, 3.0, -1.0, 1.0}));
    EXPECT_EQ(t.At(3, 3), (Heights{-1.0, 0.0, -1.0, 0.0, -0.5}));
    EXPECT_EQ(t.At(4, 3), Flat(0.0));
}

TEST(Tilt, SquareSelectionIsRefusedAfterTheSnapshot) {
    Terrain t;
    t.Flatten(3, 3, 2.0);
    const auto before = t.map;
    MapSelection s(2, 2, 3, 3);
    t.Apply(s, TOOL_TILT, 100.0);
    EXPECT_TRUE(test::SameHeights(t.map, before));
    EXPECT_TRUE(s.undoSaved);
    EXPECT_TRUE(t.doc->undoGrid.hasContent);
}

TEST(Level, EveryInsideBoundaryTakesTheLevelOfTheCellOnItsFarSide) {
    Terrain t;
    t.Flatten(2, 3, 1.0);
    t.Flatten(3, 3, 2.0);
    t.Flatten(2, 4, 3.0);
    t.Flatten(3, 4, 4.0);
    MapSelection s(2, 3, 3, 4);
    t.Apply(s, TOOL_LEVEL, 0.0);
    EXPECT_EQ(t.At(3, 4), Flat(4.0));
    EXPECT_EQ(t.At(2, 3), (Heights{1.0, 2.0, 3.0, 4.0, 2.5}));
    EXPECT_EQ(t.At(3, 3), (Heights{2.0, 2.0, 4.0, 4.0, 3.0}));
    EXPECT_EQ(t.At(2, 4), (Heights{3.0, 4.0, 3.0, 4.0, 3.5}));
}

TEST(Level, SingleCellGoesFlatAtItsCentrePlusTenthsOfTheValue) {
    Terrain t;
    SetHeights(t.map, 6, 6, {0.0, 0.0, 2.0, 2.0, 1.0});
    MapSelection s(6, 6, 6, 6);
    t.Apply(s, TOOL_LEVEL, 10.0);
    EXPECT_EQ(t.At(6, 6), Flat(2.0));
}

TEST(Pyramid, FlatFourByFourRaisesInsideVerticesAndTheMiddleTwice) {
    Terrain t;
    MapSelection s(2, 2, 5, 5);
    t.Apply(s, TOOL_PYRAMID, 31.0);
    for (std::int32_t x = 3; x <= 5; ++x) {
        for (std::int32_t z = 3; z <= 5; ++z) {
            const double expected = (x == 4 && z == 4) ? 2.0 : 1.0;
            EXPECT_EQ(test::VertexCopies(t.map, x, z),
                      (std::array<double, 4>{expected, expected, expected, expected}))
                << x << "," << z;
        }
    }
    EXPECT_EQ(test::VertexCopies(t.map, 2, 4), (std::array<double, 4>{0, 0, 0, 0}));
    EXPECT_EQ(test::VertexCopies(t.map, 6, 6), (std::array<double, 4>{0, 0, 0, 0}));
}

TEST(Pyramid, OddSizeEndsWithTheMiddleCentreRaisedOnceMore) {
    Terrain t;
    MapSelection s(2, 2, 4, 4);
    s.pyramid(t.map, 1.0);
    EXPECT_EQ(t.At(3, 3), (Heights{1.0, 1.0, 1.0, 1.0, 2.0}));
}

TEST(Pyramid, NonSquareSelectionIsRefusedAfterTheSnapshot) {
    Terrain t;
    const auto before = t.map;
    MapSelection s(2, 2, 5, 4);
    t.Apply(s, TOOL_PYRAMID, 31.0);
    EXPECT_TRUE(test::SameHeights(t.map, before));
    EXPECT_TRUE(t.doc->undoGrid.hasContent);
}

TEST(ApplyTool, ModesWithoutAnOperationOnlyTakeTheSnapshot) {
    for (const std::int32_t mode : {0, 5, 7, 10, 11, -3}) {
        Terrain t;
        t.Flatten(3, 3, 1.0);
        const auto before = t.map;
        MapSelection s(2, 2, 4, 3);
        t.Apply(s, mode, 5.0);
        EXPECT_TRUE(test::SameHeights(t.map, before)) << mode;
        EXPECT_TRUE(t.doc->undoGrid.hasContent) << mode;
        EXPECT_TRUE(test::SameHeights(t.doc->undoGrid, before)) << mode;
    }
}

TEST(ApplyTool, FirstApplicationSnapshotsLaterOnesOnTheSameSelectionDoNot) {
    Terrain t;
    t.Flatten(3, 3, 0.5);
    const auto original = t.map;
    MapSelection s(3, 3, 4, 4);
    t.Apply(s, TOOL_RAISE, 1.0);
    t.Apply(s, TOOL_RAISE, 1.0);
    t.Apply(s, TOOL_RAISE, -3.0);
    EXPECT_TRUE(test::SameHeights(t.doc->undoGrid, original));
    EXPECT_EQ(t.At(3, 3), Flat(-0.5));
}

TEST(ApplyTool, InvertedSelectionChangesNothing) {
    Terrain t;
    const auto before = t.map;
    MapSelection s(5, 5, 2, 2);
    for (const std::int32_t mode : {TOOL_LEVEL, TOOL_LANDSLIDE, TOOL_TILT, TOOL_FLATTEN,
                                    TOOL_PYRAMID, TOOL_RAISE, TOOL_SET_HEIGHT}) {
        t.Apply(s, mode, 40.0);
    }
    EXPECT_TRUE(test::SameHeights(t.map, before));
}

TEST(ApplyTool, CorruptSelectionStaysInsideTheGrid) {
    Terrain t;
    MapSelection s(-2000000000, -2000000000, 2000000000, 2000000000);
    for (const std::int32_t mode : {TOOL_LEVEL, TOOL_LANDSLIDE, TOOL_TILT, TOOL_FLATTEN,
                                    TOOL_PYRAMID, TOOL_RAISE, TOOL_SET_HEIGHT}) {
        t.Apply(s, mode, 1.0);
    }
    // Whole-cell operations reach every stored cell, the off-map rest is untouched.
    EXPECT_EQ(t.At(0, 0), Flat(1.0));
    EXPECT_EQ(t.At(49, 49), Flat(1.0));

    // Corners at the ends of the int32 range neither wrap round nor run for long.
    const auto before = t.map;
    MapSelection farOut(2147483647, 2147483647, 2147483647, 2147483647);
    MapSelection inverted(2147483647, 2147483647, -2147483647 - 1, -2147483647 - 1);
    for (const std::int32_t mode : {TOOL_LEVEL, TOOL_LANDSLIDE, TOOL_TILT, TOOL_FLATTEN,
                                    TOOL_PYRAMID, TOOL_RAISE, TOOL_SET_HEIGHT}) {
        t.Apply(farOut, mode, 1.0);
        t.Apply(inverted, mode, 1.0);
    }
    EXPECT_TRUE(test::SameHeights(t.map, before));
}

}  // namespace
}  // namespace zandrel::tools
