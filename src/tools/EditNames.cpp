#include "tools/EditNames.h"

#include "tools/ToolMode.h"

namespace zandrel::tools {

std::string_view ToolName(std::int32_t mode) {
    switch (mode) {
        case TOOL_LEVEL:
            return "Livellare";
        case TOOL_LANDSLIDE:
            return "Franare";
        case TOOL_TILT:
            return "Inclinare";
        case TOOL_FLATTEN:
            return "Spianare";
        case TOOL_PYRAMID:
            return "Piramide";
        case TOOL_RAISE:
            return "Alzare";
        case TOOL_SET_HEIGHT:
            return kCutName;
        default:
            return {};
    }
}

std::string ReturnName(std::uint64_t number) {
    return "Ritorno a " + std::to_string(number);
}

}  // namespace zandrel::tools
