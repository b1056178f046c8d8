#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/TerrainFixture.h"
#include "support/TerrainGen.h"
#include "tools/ClipboardTransform.h"
#include "tools/EditCommands.h"
#include "tools/RegionCopy.h"

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
    EXPECT_EQ(clipboard.SizeX, -1);
    EXPECT_EQ(clipboard.SizeZ, 1);
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
    EXPECT_EQ(clipboard->SizeX, 1);
    EXPECT_EQ(clipboard->SizeZ, 2);
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

}  // namespace
}  // namespace zandrel::tools
