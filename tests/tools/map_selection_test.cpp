#include "tools/MapSelection.h"

#include <gtest/gtest.h>

#include "support/TerrainFixture.h"
#include "tools/ToolMode.h"
#include "tools/ToolState.h"

namespace zandrel::tools {
namespace {

TEST(MapSelection, HitsSpanTheirBlockInEitherOrder) {
    MapSelection s;
    EXPECT_EQ(s, MapSelection(-1, -1, -1, -1));
    EXPECT_FALSE(s.undoSaved);
    EXPECT_EQ(MapSelection::CellName(7, 3), 307);
    s.setFromHits(307, 307);
    EXPECT_EQ(s, MapSelection(7, 3, 7, 3));
    s.setFromHits(307, 904);
    EXPECT_EQ(s, MapSelection(4, 3, 7, 9));
    s.setFromHits(904, 307);
    EXPECT_EQ(s, MapSelection(4, 3, 7, 9));
}

TEST(MapSelection, SquareWhenBothSidesMatch) {
    EXPECT_TRUE(MapSelection(2, 2, 4, 4).isSquare());
    EXPECT_FALSE(MapSelection(2, 3, 4, 4).isSquare());
    EXPECT_TRUE(MapSelection(6, 1, 6, 1).isSquare());
}

TEST(MapSelection, NewSelectionAfterAToolStartsANewUndoStep) {
    auto doc = test::NewDocument();
    MapSelection s;
    s.setFromHits(203, 203);
    s.applyTool(doc->mapGrid, doc->undoGrid, TOOL_RAISE, 1.0);
    EXPECT_TRUE(s.undoSaved);
    s.setFromHits(203, 203);
    EXPECT_FALSE(s.undoSaved);
}

TEST(ToolState, TiltOfferedOnlyForNonSquarePyramidOnlyForSquare) {
    EXPECT_FALSE(ToolState::isToolEnabled(TOOL_TILT, MapSelection(2, 2, 4, 4)));
    EXPECT_TRUE(ToolState::isToolEnabled(TOOL_TILT, MapSelection(2, 3, 4, 4)));
    EXPECT_TRUE(ToolState::isToolEnabled(TOOL_PYRAMID, MapSelection(2, 2, 4, 4)));
    EXPECT_FALSE(ToolState::isToolEnabled(TOOL_PYRAMID, MapSelection(2, 3, 4, 4)));
    EXPECT_TRUE(ToolState::isToolEnabled(TOOL_RAISE, MapSelection(2, 3, 4, 4)));
}

TEST(ToolState, FlattenLevelAndLandslideApplyWhenChosenOthersDoNot) {
    auto doc = test::NewDocument();
    MapSelection s(2, 2, 4, 4);
    doc->mapGrid.Cell(3, 3).NE = 4.0;
    ToolState tools;
    tools.chooseTool(TOOL_RAISE, s, *doc);
    EXPECT_EQ(tools.toolMode, TOOL_RAISE);
    EXPECT_FALSE(s.undoSaved);
    tools.chooseTool(TOOL_FLATTEN, s, *doc);
    EXPECT_TRUE(tools.isChecked(TOOL_FLATTEN));
    EXPECT_TRUE(s.undoSaved);
    EXPECT_EQ(doc->mapGrid.Cell(2, 2).C, 4.0);
}

}  // namespace
}  // namespace zandrel::tools
