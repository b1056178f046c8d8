#include "tools/TextureStroke.h"

namespace zandrel::tools {

void TextureStroke::Reach(map::MapGrid& map, std::int32_t name) {
    if (name < 0) {
        last_ = -1;
        return;
    }
    const std::int32_t x = name % 100;
    const std::int32_t z = name / 100;
    const std::int32_t from = last_ < 0 ? name : last_;
    ForCellsOnLine(from % 100, from / 100, x, z,
                   [&](std::int32_t cellX, std::int32_t cellZ) { Paint(map, cellX, cellZ); });
    last_ = name;
}

void TextureStroke::Paint(map::MapGrid& map, std::int32_t x, std::int32_t z) {
    if (slot_ < 0 || kind_ == BrushKind::Off || !map.InMap(x, z)) {
        return;
    }
    map::MapCell& cell = map.Cell(x, z);
    (kind_ == BrushKind::Tile ? cell.typet : cell.typew) = slot_;
}

}  // namespace zandrel::tools
