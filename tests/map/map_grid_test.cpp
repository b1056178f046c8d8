#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "map/MapGrid.h"

using zandrel::map::CellRect;
using zandrel::map::MapCell;
using zandrel::map::MapGrid;

namespace {

std::unique_ptr<MapGrid> NewMap() {
    return std::make_unique<MapGrid>(50, 50);
}

}  // namespace

// Sizes, textures, markers and cell values of a new map are pinned byte for byte by the
// writer's reference file; what a file does not hold is checked here.
TEST(MapGrid, NewMapHasContentNoSelectionAndUpwardNormals) {
    const auto grid = NewMap();
    EXPECT_TRUE(grid->hasContent);
    EXPECT_TRUE(grid->selection.IsUnset());
    for (int x = 0; x < 50; ++x) {
        for (int z = 0; z < 50; ++z) {
            for (const auto& normal : grid->normals[x][z]) {
                ASSERT_EQ(normal, (std::array<float, 3>{0.0f, 2.0f, 0.0f})) << x << "," << z;
            }
        }
    }
}

TEST(MapGrid, DefaultGridHoldsNoContentAndUnsetAreas) {
    const auto grid = std::make_unique<MapGrid>();
    EXPECT_FALSE(grid->hasContent);
    EXPECT_TRUE(grid->start.IsUnset());
    EXPECT_TRUE(grid->wallArea.IsUnset());
    EXPECT_FALSE(grid->start.Contains(0, 0));
    // Assignment copies the selection and the content flag.
    const auto source = NewMap();
    source->SetSelection(1, 2, 3, 4);
    source->RaiseCell(1, 1, 2.0);
    *grid = *source;
    EXPECT_TRUE(grid->hasContent);
    EXPECT_EQ(grid->selection, source->selection);
    EXPECT_EQ(grid->cells[1][1], source->cells[1][1]);
}

TEST(MapGrid, RaiseCellAndSetCellHeightMoveOnlyThatCellsHeights) {
    const auto grid = NewMap();
    grid->RaiseCell(3, 4, 1.5);
    EXPECT_EQ(grid->cells[3][4], (MapCell{1.5, 1.5, 1.5, 1.5, 1.5, 0, 1, 0, -160.0, 7.0}));
    EXPECT_EQ(grid->cells[4][4].NE, 0.0);
    EXPECT_EQ(grid->cells[3][5].NE, 0.0);
    EXPECT_EQ(grid->cells[2][3].SO, 0.0);
    grid->SetCellHeight(3, 4, -2.25);
    EXPECT_EQ(grid->cells[3][4],
              (MapCell{-2.25, -2.25, -2.25, -2.25, -2.25, 0, 1, 0, -160.0, 7.0}));
}

TEST(CellRect, ContainsIsInclusiveOnBothEnds) {
    const auto grid = NewMap();
    grid->SetSelection(2, 3, 5, 9);
    for (const auto& [x, z, inside] : {std::tuple{5, 9, true},
                                       {2, 3, true},
                                       {6, 9, false},
                                       {2, 10, false},
                                       {1, 3, false},
                                       {2, 2, false}}) {
        EXPECT_EQ(grid->selection.Contains(x, z), inside) << x << "," << z;
    }
}

TEST(MapGrid, NormalsFollowTheTrianglesOfARaisedCorner) {
    const auto grid = NewMap();
    // The NO corner stands at local (+1, -1); raising it tilts the two triangles that touch it
    // to face away from it, towards -x and +z. The other two stay flat.
    grid->cells[0][0].NO = 1.0;
    grid->ComputeNormals();
    const auto& n = grid->normals[0][0];
    EXPECT_EQ(n[0], (std::array<float, 3>{-1.0f, 2.0f, 1.0f}));
    EXPECT_EQ(n[1], (std::array<float, 3>{0.0f, 2.0f, 0.0f}));
    EXPECT_EQ(n[2], (std::array<float, 3>{0.0f, 2.0f, 0.0f}));
    EXPECT_EQ(n[3], (std::array<float, 3>{-1.0f, 2.0f, 1.0f}));
}

TEST(MapGrid, SaveToCopiesHeightsOnlyAndMovesTheContentFlag) {
    const auto map = NewMap();
    const auto snapshot = std::make_unique<MapGrid>();
    snapshot->cells[2][2].grav = 5.0;
    map->RaiseCell(2, 2, 3.0);
    map->cells[2][2].goal = 1;

    map->SaveTo(*snapshot);
    EXPECT_TRUE(snapshot->hasContent);
    EXPECT_FALSE(map->hasContent);
    EXPECT_EQ(snapshot->SizeX, 50);
    EXPECT_EQ(snapshot->cells[2][2].C, 3.0);
    EXPECT_EQ(snapshot->cells[2][2].grav, 5.0);
    EXPECT_EQ(snapshot->cells[2][2].goal, 0);

    map->RaiseCell(2, 2, 1.0);
    snapshot->SaveTo(*map);  // undo
    EXPECT_EQ(map->cells[2][2].C, 3.0);
    EXPECT_EQ(map->cells[2][2].goal, 1);
    EXPECT_FALSE(snapshot->hasContent);
}
