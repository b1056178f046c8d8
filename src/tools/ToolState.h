#pragma once

#include <cstdint>

#include "tools/DocumentState.h"
#include "tools/MapSelection.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {

// The tool side of one 3D view: the current tool and the one a one-shot placement returns to.
// The view's menu commands and left click call these; the view keeps the selection itself.
struct ToolState {
    std::int32_t toolMode = TOOL_NONE;
    std::int32_t savedToolMode = TOOL_NONE;

    // A terrain tool command of the Funzioni menu: makes mode current, and for flatten, level
    // and landslide applies it once with value 0 to the selection.
    void chooseTool(std::int32_t mode, MapSelection& selection, DocumentState& doc);

    // "Start" and "Nemici": the first choice makes the placement current until the next left
    // click; choosing it again before clicking returns to the saved tool.
    void toggleStartPlacement();
    void toggleEnemyPlacement();

    // After a left click has set the selection to the clicked cell: places the start if start
    // placement is current, then an enemy if enemy placement is (then) current. Each placement
    // returns to the saved tool. Nothing happens while the selection's first cell lies
    // outside the map.
    void placeOnClick(const MapSelection& selection, DocumentState& doc);

    // Whether the menu offers the tool command: tilt needs a non-square selection, pyramid a
    // square one, the others are always offered.
    static bool isToolEnabled(std::int32_t mode, const MapSelection& selection);
    // Whether the command of mode shows its check mark.
    bool isChecked(std::int32_t mode) const { return toolMode == mode; }

private:
    void togglePlacement(std::int32_t placementMode);
};

}  // namespace zandrel::tools
