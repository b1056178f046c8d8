#pragma once

#include <cstdint>

namespace zandrel::tools {

// The view's current tool, as the int the view keeps in its toolMode. 0 means no tool; 7 and
// anything outside 1..10 do nothing when applied (after the undo snapshot).
enum ToolMode : std::int32_t {
    TOOL_NONE = 0,
    TOOL_LEVEL = 1,         // "&Livellare": every cell flat at its own centre plus v * 0.1, welded
    TOOL_LANDSLIDE = 2,     // "&Franare": inside vertices raised by v * 0.1
    TOOL_TILT = 3,          // "&Inclinare": v * 0.01 per cell along the longer side, not squares
    TOOL_FLATTEN = 4,       // "&Spianare": all cells flat at the middle cell's NE plus v
    TOOL_PLACE_START = 5,   // "Start": one-shot placement by the next left click
    TOOL_PYRAMID = 6,       // "Piramide": rings raised toward the middle, squares only
    TOOL_RAISE = 8,         // "&Alzare": every cell raised by v
    TOOL_SET_HEIGHT = 9,    // cut: every cell set to v
    TOOL_PLACE_ENEMY = 10,  // "Nemici": one-shot placement by the next left click
};

// The three tools whose menu command also applies them once with value 0.
constexpr bool AppliesWhenChosen(std::int32_t mode) {
    return mode == TOOL_FLATTEN || mode == TOOL_LEVEL || mode == TOOL_LANDSLIDE;
}

}  // namespace zandrel::tools
