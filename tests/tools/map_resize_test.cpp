#include "tools/MapResize.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include "mapfile/MapWriter.h"
#include "support/TerrainFixture.h"
#include "tools/EditCommands.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

// A map whose every cell value tells where the cell was: types and friction give x and z.
void MarkCells(map::MapGrid& grid) {
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            grid.Cell(x, z) = {1.0 * x, 2.0, 3.0, 4.0, 0.5 * z, x, z, 1, -7.0, 1.0 * x + z};
        }
    }
}

TEST(Resize, EachAnchorKeepsItsCornerOrEdge) {
    struct Row {
        ResizeAnchor anchor;
        CellShift shift;
    };
    // 10 by 6 becoming 7 by 9: half of -3 is -1, half of 3 is 1, toward zero.
    using enum ResizeAnchor;
    const Row rows[] = {{NorthEast, {0, 0}}, {North, {-1, 0}},  {NorthWest, {-3, 0}},
                        {East, {0, 1}},      {Centre, {-1, 1}}, {West, {-3, 1}},
                        {SouthEast, {0, 3}}, {South, {-1, 3}},  {SouthWest, {-3, 3}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(AnchorName(row.anchor)));
        EXPECT_EQ(AnchorNamed(AnchorName(row.anchor)), row.anchor);
        auto grid = test::NewMap(10, 6);
        MarkCells(*grid);
        ResizeGrid(*grid, 7, 9, row.anchor);
        EXPECT_EQ(grid->Cell(4 + row.shift.dx, 2 + row.shift.dz).typet, 4);
        EXPECT_EQ(grid->Cell(4 + row.shift.dx, 2 + row.shift.dz).typew, 2);
    }
}

TEST(Resize, NewCellsAreANewMapsAndPlacesMoveOrGo) {
    auto doc = test::NewDocument(3, 3);
    map::MapGrid& grid = doc->mapGrid;
    MarkCells(grid);
    grid.start.Set(0, 0, 0, 0);
    grid.start.texture = 77;
    grid.enemies[0].Set(2, 2, 2, 2);
    grid.enemies[1].Set(9, 9, 9, 9);  // as a file may hold it: on no cell
    const auto before = std::make_unique<map::MapGrid>(grid);
    MapSelection selection(0, 0, 2, 2);
    for (const auto& [x, z] : {std::pair{0, 5}, {5, 51}, {-3, 5}}) {
        EXPECT_FALSE(ResizeMap(*doc, selection, x, z, ResizeAnchor::Centre).ok()) << x << 'x' << z;
    }
    EXPECT_TRUE(grid.SameContent(*before));
    EXPECT_FALSE(CanUndo(*doc));
    ASSERT_TRUE(ResizeMap(*doc, selection, 4, 2, ResizeAnchor::SouthWest));
    // x moves by 1, z by -1: the first row of cells falls off.
    EXPECT_EQ(grid.Cell(1, 0), before->Cell(0, 1));
    EXPECT_EQ(grid.Cell(3, 1), before->Cell(2, 2));
    EXPECT_EQ(grid.Cell(0, 1), test::NewMap(1, 1)->Cell(0, 0));
    EXPECT_TRUE(grid.start.IsUnset());
    EXPECT_EQ(grid.start.texture, 77u);
    EXPECT_EQ(grid.enemies[0], map::CellRect(3, 1, 3, 1));
    EXPECT_TRUE(grid.enemies[1].IsUnset());
    EXPECT_EQ(selection, MapSelection(1, 0, 3, 1));
    // Undo right after gives back the whole map, not only its heights.
    ASSERT_TRUE(EditUndo(*doc, selection));
    EXPECT_TRUE(grid.SameContent(*before));
    EXPECT_FALSE(CanUndo(*doc));
    // After a resize and a raise, undo takes back the raise's heights only.
    ASSERT_TRUE(ResizeMap(*doc, selection, 5, 5, ResizeAnchor::NorthEast));
    selection.applyTool(grid, doc->undoGrid, TOOL_RAISE, 2.0);
    grid.Cell(4, 4).typet = 9;
    ASSERT_TRUE(EditUndo(*doc, selection));
    EXPECT_EQ(grid.SizeX, 5);
    EXPECT_EQ(grid.Cell(1, 1).NE, before->Cell(1, 1).NE);
    EXPECT_EQ(grid.Cell(4, 4).typet, 9);
}

// A resize and back with the same anchor leaves the file as it was, except that cells the
// smaller size dropped come back with a new map's values and places on them stay unset.
RC_GTEST_PROP(Resize, AndBackKeepsTheKeptCellsByteForByte, ()) {
    const std::int32_t oldX = *rc::gen::inRange(1, 13);
    const std::int32_t oldZ = *rc::gen::inRange(1, 13);
    const std::int32_t newX = *rc::gen::inRange(1, 13);
    const std::int32_t newZ = *rc::gen::inRange(1, 13);
    const auto anchor = static_cast<ResizeAnchor>(*rc::gen::inRange(0, 9));
    auto grid = test::NewMap(oldX, oldZ);
    MarkCells(*grid);
    grid->start.Set(oldX - 1, 0, oldX - 1, 0);
    auto expected = std::make_unique<map::MapGrid>(*grid);
    const CellShift there = ResizeShift(oldX, oldZ, newX, newZ, anchor);
    const auto resized = test::NewMap(newX, newZ);
    for (std::int32_t x = 0; x < oldX; ++x) {
        for (std::int32_t z = 0; z < oldZ; ++z) {
            if (!resized->InMap(x + there.dx, z + there.dz)) {
                expected->Cell(x, z) = resized->Cell(0, 0);
            }
        }
    }
    if (!resized->InMap(oldX - 1 + there.dx, there.dz)) {
        expected->start.Set(-1, -1, -1, -1);
    }
    ResizeGrid(*grid, newX, newZ, anchor);
    ResizeGrid(*grid, oldX, oldZ, anchor);
    RC_ASSERT(mapfile::FormatMap(*grid) == mapfile::FormatMap(*expected));
}

}  // namespace
}  // namespace zandrel::tools
