#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "mapfile/MapWriter.h"
#include "support/TerrainFixture.h"
#include "support/TerrainGen.h"
#include "tools/ClipboardTransform.h"
#include "tools/EditCommands.h"
#include "tools/MapResize.h"
#include "tools/RegionCopy.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;

Heights Plus(Heights h, double d) {
    for (double& v : h) {
        v += d;
    }
    return h;
}

// Copy, paste, merge, cut and undo of a block of a generated map, pasted back where it came
// from and from a cell anywhere near the map, the far edges cutting it off.
RC_GTEST_PROP(Clipboard, PasteLaysTheCopyAtTheTargetsTruncatedLevel, ()) {
    auto doc = test::NewDocument(*rc::gen::inRange(1, 12), *rc::gen::inRange(1, 12));
    map::MapGrid& grid = doc->mapGrid;
    test::GenHeights(grid);
    const MapSelection source = test::GenBlock(grid);
    auto clipboard = std::make_unique<map::MapGrid>();
    EditCopy(*doc, source, *clipboard);
    const auto before = std::make_unique<map::MapGrid>(grid);
    const double sourceLevel = std::trunc(before->Cell(source.x0, source.z0).C);

    MapSelection back(source.x0, source.z0, source.x0, source.z0);
    back.undoSaved = true;
    RC_ASSERT(EditPaste(*doc, back, *clipboard));
    RC_ASSERT(test::SameHeightsOutside(grid, *before, {}));
    RC_ASSERT(back == source);
    RC_ASSERT(!back.undoSaved);

    const std::int32_t tx = *rc::gen::inRange(0, grid.SizeX + 3);
    const std::int32_t tz = *rc::gen::inRange(0, grid.SizeZ + 3);
    const double level = tx < grid.SizeX && tz < grid.SizeZ ? std::trunc(grid.Cell(tx, tz).C) : 0;
    const MapSelection pasted(tx, tz, std::min(tx + source.x1 - source.x0, grid.SizeX - 1),
                              std::min(tz + source.z1 - source.z0, grid.SizeZ - 1));
    // Each cell the block lands on: after - (level or 0) is the source cell's height relative
    // to its own level.
    const auto landed = [&](double onLevel, bool merged) {
        for (std::int32_t x = pasted.x0; x <= pasted.x1; ++x) {
            for (std::int32_t z = pasted.z0; z <= pasted.z1; ++z) {
                const Heights base = merged ? HeightsOf(before->Cell(x, z)) : Plus({}, onLevel);
                Heights relative = HeightsOf(grid.Cell(x, z));
                for (std::size_t i = 0; i < relative.size(); ++i) {
                    relative[i] -= base[i];
                }
                const auto& from = before->Cell(source.x0 + x - tx, source.z0 + z - tz);
                RC_ASSERT(relative == Plus(HeightsOf(from), -sourceLevel));
            }
        }
        RC_ASSERT(test::SameHeightsOutside(grid, *before, pasted));
    };
    MapSelection target(tx, tz, tx, tz);
    RC_ASSERT(EditPaste(*doc, target, *clipboard));
    RC_ASSERT(target == pasted);
    RC_ASSERT(grid.selection.x1 == pasted.x1 && grid.selection.z1 == pasted.z1);
    landed(level, false);
    RC_ASSERT(EditUndo(*doc, target));
    RC_ASSERT(test::SameHeightsOutside(grid, *before, {}));
    RC_ASSERT(!CanUndo(*doc));

    target = {tx, tz, tx, tz};
    RC_ASSERT(EditMerge(*doc, target, *clipboard));
    RC_ASSERT(target == MapSelection(tx, tz, tx, tz));
    landed(0, true);
    RC_ASSERT(EditUndo(*doc, target));
    RC_ASSERT(!EditUndo(*doc, target));
    RC_ASSERT(test::SameHeightsOutside(grid, *before, {}));

    // Cut copies the same block and leaves it flat at its first cell's NE corner.
    auto cutClipboard = std::make_unique<map::MapGrid>();
    MapSelection cut = source;
    EditCut(*doc, cut, *cutClipboard);
    RC_ASSERT(!cut.undoSaved);
    RC_ASSERT(test::SameHeightsOutside(*cutClipboard, *clipboard, {}));
    RC_ASSERT(test::SameHeightsOutside(grid, *before, source));
    const double ne = before->Cell(source.x0, source.z0).NE;
    for (std::int32_t x = source.x0; x <= source.x1; ++x) {
        for (std::int32_t z = source.z0; z <= source.z1; ++z) {
            RC_ASSERT(HeightsOf(grid.Cell(x, z)) == Plus({}, ne));
        }
    }
}

TEST(Clipboard, EmptyClipboardOffersNothingAnEmptyCopyFillsIt) {
    auto doc = test::NewDocument();
    map::MapGrid clipboard;
    MapSelection s(3, 4, 4, 5);
    EXPECT_FALSE(EditPaste(*doc, s, clipboard));
    EXPECT_FALSE(EditMerge(*doc, s, clipboard));
    EXPECT_FALSE(EditTurnClipboard(clipboard, BlockTurn::FlipX));
    EXPECT_FALSE(CanUndo(*doc));
    // Copying an empty range still records its size and makes the clipboard hold something.
    EditCopy(*doc, MapSelection(5, 5, 3, 5), clipboard);
    EXPECT_EQ(std::pair(clipboard.SizeX, clipboard.SizeZ), std::pair(-1, 1));
    EXPECT_TRUE(CanPaste(clipboard));
}

// A ramp rising along +x, turned a quarter, rises along +z; only the clipboard turns.
TEST(TurnClipboard, ARampAlongXRisesAlongZ) {
    auto doc = test::NewDocument();
    test::SetHeights(doc->mapGrid, 2, 1, {0, 1, 0, 1, 0.5});
    test::SetHeights(doc->mapGrid, 3, 1, {1, 2, 1, 2, 1.5});
    auto clipboard = std::make_unique<map::MapGrid>();
    EditCopy(*doc, MapSelection(2, 1, 3, 1), *clipboard);
    ASSERT_TRUE(EditTurnClipboard(*clipboard, BlockTurn::Rotate));
    EXPECT_FALSE(CanUndo(*doc));
    EXPECT_EQ(std::pair(clipboard->SizeX, clipboard->SizeZ), std::pair(1, 2));
    EXPECT_EQ(HeightsOf(clipboard->Cell(0, 0)), (Heights{0, 0, 1, 1, 0.5}));
    EXPECT_EQ(HeightsOf(clipboard->Cell(0, 1)), (Heights{1, 1, 2, 2, 1.5}));
}

RC_GTEST_PROP(TurnClipboard, FourTurnsAndTwoMirrorsGiveTheBlockBack, ()) {
    auto block = test::NewMap(*rc::gen::inRange(1, 7), *rc::gen::inRange(1, 7));
    test::GenHeights(*block);
    auto turned = std::make_unique<map::MapGrid>(*block);
    for (int i = 0; i < 4; ++i) {
        RotateBlock(*turned);
    }
    RC_ASSERT(test::SameHeights(*turned, *block));
    for (void (*mirror)(map::MapGrid&) : {&FlipBlockX, &FlipBlockZ}) {
        mirror(*turned);
        mirror(*turned);
        RC_ASSERT(test::SameHeights(*turned, *block));
    }
    // Half a turn is both mirrors.
    RotateBlock(*turned);
    RotateBlock(*turned);
    FlipBlockX(*turned);
    FlipBlockZ(*turned);
    RC_ASSERT(test::SameHeights(*turned, *block));
}

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
    // x moves by 1, z by -1: the first row of cells falls off with the start on it.
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
