#include "view3d/ViewModes.h"

#include "map/MapGrid.h"

namespace zandrel::view3d {

PassStyle PassStyle::For(const map::MapGrid& grid, const ViewModes& modes) {
    PassStyle style{modes, {}};
    tools::CellField field = tools::CellField::Height;
    switch (modes.tint) {
        case TintMode::Off:
            return style;
        case TintMode::Height:
            break;
        case TintMode::Gravity:
            field = tools::CellField::Gravity;
            break;
        case TintMode::Friction:
            field = tools::CellField::Friction;
            break;
    }
    style.tintRange = tools::FieldRange(grid, field).value_or(tools::ValueRange{});
    return style;
}

}  // namespace zandrel::view3d
