#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include "support/TerrainFixture.h"
#include "tools/ClipboardTransform.h"
#include "tools/EditCommands.h"
#include "tools/RegionCopy.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {
namespace {

using test::Heights;
using test::HeightsOf;
using test::SetHeights;

Heights Plus(const Heights& h, double d) {
    return {h[0] + d, h[1] + d, h[2] + d, h[3] + d, h[4] + d};
}

// A 2 by 2 block at (3, 4) whose first cell has centre c and whose other heights vary.
void ShapeBlock(map::MapGrid& grid, double c) {
    SetHeights(grid, 3, 4, {1.5, -0.5, 2.0, 3.25, c});
    SetHeights(grid, 4, 4, {0.0, 1.0, 2.0, 3.0, 4.0});
    SetHeights(grid, 3, 5, {-1.0, -2.0, -3.0, -4.0, -5.0});
    SetHeights(grid, 4, 5, {6.0, 6.0, 6.0, 6.0, 6.0});
}

// The clipboard holds heights below the first cell's centre truncated toward zero.
TEST(Copy, StoresHeightsBelowTheTruncatedFirstCentre) {
    auto grid = test::NewMap();
    auto clipboard = std::make_unique<map::MapGrid>();
    ShapeBlock(*grid, 2.7);
    CopyRegionTo(*grid, *clipboard, 3, 4, 4, 5);
    EXPECT_TRUE(clipboard->hasContent);
    EXPECT_EQ(clipboard->SizeX, 2);
    EXPECT_EQ(clipboard->SizeZ, 2);
    EXPECT_EQ(HeightsOf(clipboard->Cell(0, 0)), (Heights{-0.5, -2.5, 0.0, 1.25, 2.7 - 2}));
    EXPECT_EQ(HeightsOf(clipboard->Cell(1, 1)), Plus(HeightsOf(grid->Cell(4, 5)), -2));
    ShapeBlock(*grid, -2.7);
    CopyRegionTo(*grid, *clipboard, 3, 4, 4, 5);
    EXPECT_EQ(HeightsOf(clipboard->Cell(1, 0)), Plus(HeightsOf(grid->Cell(4, 4)), 2));
    EXPECT_EQ(clipboard->Cell(0, 0).C, -2.7 + 2);
    // An empty range still sets the sizes and the content flag.
    auto empty = std::make_unique<map::MapGrid>();
    CopyRegionTo(*grid, *empty, 5, 5, 3, 5);
    EXPECT_EQ(empty->SizeX, -1);
    EXPECT_EQ(empty->SizeZ, 1);
    EXPECT_TRUE(empty->hasContent);
}

struct Editing {
    std::unique_ptr<DocumentState> doc = test::NewDocument();
    std::unique_ptr<map::MapGrid> clipboard = std::make_unique<map::MapGrid>();
};

TEST(Paste, LaysTheBlockAtTheTargetsTruncatedLevel) {
    Editing e;
    ShapeBlock(e.doc->mapGrid, 2.7);
    MapSelection source(3, 4, 4, 5);
    EditCopy(*e.doc, source, *e.clipboard);
    e.doc->mapGrid.Cell(6, 1).C = 5.9;
    const auto before = e.doc->mapGrid;
    MapSelection target(6, 1, 6, 1);
    ASSERT_TRUE(EditPaste(*e.doc, target, *e.clipboard));
    for (std::int32_t dx = 0; dx < 2; ++dx) {
        for (std::int32_t dz = 0; dz < 2; ++dz) {
            // Stored as height - 2 and laid down at level 5.
            Heights expected = HeightsOf(before.Cell(3 + dx, 4 + dz));
            for (double& h : expected) {
                h = 5.0 + (h - 2.0);
            }
            EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(6 + dx, 1 + dz)), expected);
        }
    }
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(3, 4)), HeightsOf(before.Cell(3, 4)));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(8, 1)), HeightsOf(before.Cell(8, 1)));
}

// The selection grows from its first cell to the pasted block, clipped at the map's far
// edges, and a new undo step begins.
TEST(Paste, SelectionGrowsToTheBlockClippedAtTheFarEdges) {
    const struct {
        MapSelection target;
        MapSelection pasted;
    } cases[] = {{{5, 5, 5, 5}, {5, 5, 8, 7}},
                 {{8, 8, 8, 8}, {8, 8, 9, 9}},
                 {{8, 1, 8, 1}, {8, 1, 9, 3}},
                 {{25, 25, 25, 25}, {25, 25, 9, 9}}};
    for (const auto& c : cases) {
        Editing e;
        SetHeights(e.doc->mapGrid, 1, 1, {1, 1, 1, 1, 1});
        MapSelection source(0, 0, 3, 2);
        EditCopy(*e.doc, source, *e.clipboard);
        const auto before = e.doc->mapGrid;
        MapSelection target = c.target;
        target.undoSaved = true;
        ASSERT_TRUE(EditPaste(*e.doc, target, *e.clipboard));
        EXPECT_EQ(target, c.pasted);
        EXPECT_FALSE(target.undoSaved);
        // Paste stores the block's far corner, and the view's selection takes it from there.
        EXPECT_EQ(e.doc->mapGrid.selection.x1, c.pasted.x1);
        EXPECT_EQ(e.doc->mapGrid.selection.z1, c.pasted.z1);
        // Cells past the map in use, and all of them for a block wholly outside, stay.
        EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(10, 9)), HeightsOf(before.Cell(10, 9)));
        EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(25, 25)), HeightsOf(before.Cell(25, 25)));
    }
    Editing e;
    SetHeights(e.doc->mapGrid, 1, 1, {1, 1, 1, 1, 1});
    MapSelection source(0, 0, 3, 3);
    EditCopy(*e.doc, source, *e.clipboard);
    MapSelection corner(8, 8, 8, 8);
    ASSERT_TRUE(EditPaste(*e.doc, corner, *e.clipboard));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(9, 9)), (Heights{1, 1, 1, 1, 1}));
}

TEST(Paste, UnavailableWithoutCopyAndUndoneExactlyOnce) {
    Editing e;
    ShapeBlock(e.doc->mapGrid, -1.25);
    const auto before = e.doc->mapGrid;
    MapSelection s(3, 4, 4, 5);
    EXPECT_FALSE(CanPaste(*e.clipboard));
    EXPECT_FALSE(EditPaste(*e.doc, s, *e.clipboard));
    EXPECT_FALSE(EditMerge(*e.doc, s, *e.clipboard));
    EXPECT_FALSE(CanUndo(*e.doc));
    EXPECT_TRUE(test::SameHeights(e.doc->mapGrid, before));
    EditCopy(*e.doc, s, *e.clipboard);
    MapSelection target(4, 4, 4, 4);
    ASSERT_TRUE(EditPaste(*e.doc, target, *e.clipboard));
    EXPECT_FALSE(test::SameHeights(e.doc->mapGrid, before));
    EXPECT_TRUE(CanUndo(*e.doc));
    ASSERT_TRUE(EditUndo(*e.doc, target));
    EXPECT_TRUE(test::SameHeights(e.doc->mapGrid, before));
    EXPECT_FALSE(CanUndo(*e.doc));
    EXPECT_FALSE(EditUndo(*e.doc, target));
}

TEST(Merge, AddsRelativeHeightsOnceForEachMerge) {
    Editing e;
    ShapeBlock(e.doc->mapGrid, 12.0);
    MapSelection s(3, 4, 4, 5);
    EditCopy(*e.doc, s, *e.clipboard);
    SetHeights(e.doc->mapGrid, 7, 7, {3, 3, 3, 3, 3});
    MapSelection target(7, 7, 7, 7);
    ASSERT_TRUE(EditMerge(*e.doc, target, *e.clipboard));
    EXPECT_EQ(target, MapSelection(7, 7, 7, 7));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(7, 7)),
              (Heights{1.5 - 9, -0.5 - 9, 2 - 9, 3.25 - 9, 3}));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(8, 8)), (Heights{-6, -6, -6, -6, -6}));
    ASSERT_TRUE(EditMerge(*e.doc, target, *e.clipboard));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(8, 8)), (Heights{-12, -12, -12, -12, -12}));
    // One undo goes back to before the second merge only.
    ASSERT_TRUE(EditUndo(*e.doc, target));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(8, 8)), (Heights{-6, -6, -6, -6, -6}));
}

TEST(Cut, CopiesThenFlattensAtTheFirstCellsNECorner) {
    Editing e;
    ShapeBlock(e.doc->mapGrid, 2.7);
    const auto before = e.doc->mapGrid;
    MapSelection s(3, 4, 4, 5);
    EditCut(*e.doc, s, *e.clipboard);
    EXPECT_FALSE(s.undoSaved);
    for (std::int32_t x = 3; x <= 4; ++x) {
        for (std::int32_t z = 4; z <= 5; ++z) {
            EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(x, z)), (Heights{1.5, 1.5, 1.5, 1.5, 1.5}));
        }
    }
    // A paste elsewhere at the same whole level reproduces the cut shape.
    e.doc->mapGrid.Cell(0, 0).C = 2.0;
    MapSelection target(0, 0, 0, 0);
    ASSERT_TRUE(EditPaste(*e.doc, target, *e.clipboard));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(1, 1)), HeightsOf(before.Cell(4, 5)));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(0, 1)), HeightsOf(before.Cell(3, 5)));
    // The paste's snapshot holds the flattened block; undo goes back to it only.
    ASSERT_TRUE(EditUndo(*e.doc, target));
    EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(3, 4)), (Heights{1.5, 1.5, 1.5, 1.5, 1.5}));
}

TEST(Undo, TakesBackTheLastBlocksHeightsOnly) {
    Editing e;
    MapSelection first(1, 1, 2, 2);
    first.applyTool(e.doc->mapGrid, e.doc->undoGrid, TOOL_RAISE, 1.0);
    const auto afterFirstBlock = e.doc->mapGrid;
    MapSelection second(5, 5, 6, 6);
    for (int notch = 0; notch < 3; ++notch) {
        second.applyTool(e.doc->mapGrid, e.doc->undoGrid, TOOL_RAISE, 1.0);
    }
    EXPECT_EQ(e.doc->mapGrid.Cell(6, 6).C, 3.0);
    ASSERT_TRUE(EditUndo(*e.doc, second));
    EXPECT_TRUE(test::SameHeights(e.doc->mapGrid, afterFirstBlock));
    EXPECT_EQ(e.doc->mapGrid.Cell(1, 1).C, 1.0);
    // Undo takes back heights only: goal, types, gravity and friction changed since stay.
    MapSelection third(6, 6, 6, 6);
    third.applyTool(e.doc->mapGrid, e.doc->undoGrid, TOOL_RAISE, 4.0);
    map::MapCell& cell = e.doc->mapGrid.Cell(6, 6);
    cell = map::MapCell{4, 4, 4, 4, 4, 2, 0, 1, 12.0, 3.0};
    ASSERT_TRUE(EditUndo(*e.doc, third));
    EXPECT_EQ(cell, (map::MapCell{0, 0, 0, 0, 0, 2, 0, 1, 12.0, 3.0}));
}

// A ramp rising along +x, copied, turned and pasted onto flat ground rises along +z.
TEST(TurnClipboard, ARampAlongXRisesAlongZ) {
    Editing e;
    for (std::int32_t x = 2; x <= 4; ++x) {
        for (std::int32_t z = 1; z <= 2; ++z) {
            SetHeights(e.doc->mapGrid, x, z, {x + 0.0, x + 1.0, x + 0.0, x + 1.0, x + 0.5});
        }
    }
    MapSelection source(2, 1, 4, 2);
    EditCopy(*e.doc, source, *e.clipboard);
    ASSERT_TRUE(EditTurnClipboard(*e.clipboard, BlockTurn::Rotate));
    EXPECT_FALSE(CanUndo(*e.doc));  // only the clipboard turns
    MapSelection target(5, 5, 5, 5);
    ASSERT_TRUE(EditPaste(*e.doc, target, *e.clipboard));
    EXPECT_EQ(target, MapSelection(5, 5, 6, 7));
    for (std::int32_t x = 5; x <= 6; ++x) {
        for (std::int32_t z = 5; z <= 7; ++z) {
            const double v = z - 5;
            EXPECT_EQ(HeightsOf(e.doc->mapGrid.Cell(x, z)), (Heights{v, v, v + 1, v + 1, v + 0.5}));
        }
    }
    // Pasted near the far corner the turned block is cut at the edges, as any block is.
    MapSelection corner(8, 8, 8, 8);
    ASSERT_TRUE(EditPaste(*e.doc, corner, *e.clipboard));
    EXPECT_EQ(corner, MapSelection(8, 8, 9, 9));
    EXPECT_EQ(e.doc->mapGrid.Cell(9, 9).SE, 2.0);
    ASSERT_TRUE(EditUndo(*e.doc, corner));
    EXPECT_EQ(e.doc->mapGrid.Cell(9, 9).SE, 0.0);
    EXPECT_FALSE(EditTurnClipboard(*std::make_unique<map::MapGrid>(), BlockTurn::FlipX));
}

// A random block of w by d cells with whole-number heights.
std::unique_ptr<map::MapGrid> RandomBlock() {
    auto block = std::make_unique<map::MapGrid>();
    block->SizeX = *rc::gen::inRange(1, 7);
    block->SizeZ = *rc::gen::inRange(1, 7);
    block->hasContent = true;
    for (std::int32_t x = 0; x < block->SizeX; ++x) {
        for (std::int32_t z = 0; z < block->SizeZ; ++z) {
            for (double* h : {&block->Cell(x, z).NE, &block->Cell(x, z).NO, &block->Cell(x, z).SE,
                              &block->Cell(x, z).SO, &block->Cell(x, z).C}) {
                *h = *rc::gen::inRange(-9, 10);
            }
        }
    }
    return block;
}

RC_GTEST_PROP(TurnClipboard, FourTurnsAndTwoMirrorsGiveTheBlockBack, ()) {
    const auto block = RandomBlock();
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

}  // namespace
}  // namespace zandrel::tools
