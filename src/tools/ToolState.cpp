#include "tools/ToolState.h"

#include "tools/Placement.h"

namespace zandrel::tools {

void ToolState::chooseTool(std::int32_t mode, MapSelection& selection, DocumentState& doc) {
    toolMode = mode;
    if (AppliesWhenChosen(mode)) {
        selection.applyTool(doc.mapGrid, doc.undoGrid, mode, 0.0);
    }
}

void ToolState::toggleStartPlacement() {
    togglePlacement(TOOL_PLACE_START);
}

void ToolState::toggleEnemyPlacement() {
    togglePlacement(TOOL_PLACE_ENEMY);
}

void ToolState::togglePlacement(std::int32_t placementMode) {
    if (toolMode != placementMode) {
        savedToolMode = toolMode;
        toolMode = placementMode;
    } else {
        toolMode = savedToolMode;
    }
}

void ToolState::placeOnClick(const MapSelection& selection, DocumentState& doc) {
    // A click that hit no cell leaves the selection where it was, which on a small map may lie
    // outside it; the placement then waits for a click on the map.
    if (!doc.mapGrid.InMap(selection.x0, selection.z0)) {
        return;
    }
    if (toolMode == TOOL_PLACE_START) {
        PlaceStart(doc.mapGrid, selection);
        toolMode = savedToolMode;
    }
    if (toolMode == TOOL_PLACE_ENEMY) {
        PlaceEnemy(doc.mapGrid, doc.nextEnemySlot, selection);
        toolMode = savedToolMode;
    }
}

bool ToolState::isToolEnabled(std::int32_t mode, const MapSelection& selection) {
    if (mode == TOOL_TILT) {
        return !selection.isSquare();
    }
    if (mode == TOOL_PYRAMID) {
        return selection.isSquare();
    }
    return true;
}

}  // namespace zandrel::tools
