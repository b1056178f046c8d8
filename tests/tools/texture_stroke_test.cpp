#include "tools/TextureStroke.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cstdlib>
#include <vector>

#include "support/TerrainFixture.h"

namespace zandrel::tools {
namespace {

using Cells = std::vector<std::pair<std::int32_t, std::int32_t>>;

Cells OnLine(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1) {
    Cells cells;
    ForCellsOnLine(x0, z0, x1, z1, [&](std::int32_t x, std::int32_t z) {
        cells.push_back({x, z});
    });
    return cells;
}

TEST(CellLine, VisitsTheCellsTheLineCrosses) {
    EXPECT_EQ(OnLine(0, 0, 3, 1), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {3, 1}}));
    // Through a vertex exactly: x first.
    EXPECT_EQ(OnLine(2, 2, 0, 0), (Cells{{2, 2}, {1, 2}, {1, 1}, {0, 1}, {0, 0}}));
}

// Any two cells: the walk starts and ends there and each step goes to an edge neighbour.
RC_GTEST_PROP(CellLine, IsAGaplessWalkAlongTheLine, ()) {
    const auto [x0, z0, x1, z1] = *rc::gen::tuple(rc::gen::inRange(0, 50), rc::gen::inRange(0, 50),
                                                  rc::gen::inRange(0, 50), rc::gen::inRange(0, 50));
    const Cells cells = OnLine(x0, z0, x1, z1);
    RC_ASSERT(cells.front() == std::pair(x0, z0));
    RC_ASSERT(cells.back() == std::pair(x1, z1));
    RC_ASSERT(cells.size() == static_cast<std::size_t>(std::abs(x1 - x0) + std::abs(z1 - z0) + 1));
    for (std::size_t i = 1; i < cells.size(); ++i) {
        RC_ASSERT(std::abs(cells[i].first - cells[i - 1].first) +
                      std::abs(cells[i].second - cells[i - 1].second) ==
                  1);
    }
}

// A stroke paints only the texture it carries: no height and no cell off the stroke changes.
RC_GTEST_PROP(TextureStroke, ChangesOnlyItsTextureOnItsCells, ()) {
    auto grid = test::NewMap(*rc::gen::inRange(1, 20), *rc::gen::inRange(1, 20));
    const auto before = std::make_unique<map::MapGrid>(*grid);
    const bool tile = *rc::gen::arbitrary<bool>();
    TextureStroke stroke(tile ? BrushKind::Tile : BrushKind::Wall, 7);
    // Cells under the pointer, as picks name them, or -1 off the terrain.
    const auto anyCell = rc::gen::map(
        rc::gen::pair(rc::gen::inRange(0, grid->SizeX), rc::gen::inRange(0, grid->SizeZ)),
        [](auto xz) { return xz.second * 100 + xz.first; });
    const auto names =
        *rc::gen::container<std::vector<std::int32_t>>(rc::gen::oneOf(rc::gen::just(-1), anyCell));
    Cells reached;
    std::int32_t last = -1;
    for (const std::int32_t name : names) {
        stroke.Reach(*grid, name);
        if (name >= 0) {
            const std::int32_t from = last >= 0 ? last : name;
            ForCellsOnLine(from % 100, from / 100, name % 100, name / 100,
                           [&](std::int32_t x, std::int32_t z) {
                               reached.push_back({x, z});
                           });
        }
        last = name;
    }
    for (const auto& [x, z] : reached) {
        map::MapCell& cell = before->Cell(x, z);
        (tile ? cell.typet : cell.typew) = 7;
    }
    RC_ASSERT(grid->SameContent(*before));
}

}  // namespace
}  // namespace zandrel::tools
