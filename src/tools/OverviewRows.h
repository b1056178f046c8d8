#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "map/MapGrid.h"
#include "tools/ColourRamp.h"

namespace zandrel::tools {

// What a top-down picture of a map shows of each cell, and which of its rows (cells of one z)
// must be drawn again after a change. A row's picture holds its cells' colours, their goal
// marks, the walls between them and the walls along its far edge toward the next row, so a
// changed cell changes its own row and the row before it. Colours follow the height ramp over
// the whole map, so a change of the map's lowest or highest height changes every row.
class OverviewRows {
public:
    struct Changes {
        // Every row, and the picture's area outside the map too (the map's size changed).
        bool whole = false;
        // Rows to draw, ascending.
        std::vector<std::int32_t> rows;
    };

    OverviewRows();
    ~OverviewRows();
    OverviewRows(OverviewRows&&) noexcept = default;
    OverviewRows& operator=(OverviewRows&&) noexcept = default;

    // What to draw again so the picture shows grid; everything the first time.
    Changes Update(const map::MapGrid& grid);
    // The height range the colours are taken over, as of the last Update.
    const ValueRange& HeightRange() const { return range_; }

    // The cell's colour: its mean height on the ramp of "Colori per altezza".
    static Rgb CellColour(const map::MapCell& cell, const ValueRange& range);
    // A wall stands between cell (x, z) and (x + 1, z), or (x, z + 1), where the two cells do not
    // share both corners of their edge, as the 3D view draws it. The map's border has none.
    static bool WallToNextX(const map::MapGrid& grid, std::int32_t x, std::int32_t z);
    static bool WallToNextZ(const map::MapGrid& grid, std::int32_t x, std::int32_t z);

private:
    using Cells = std::array<std::array<map::MapCell, map::kMaxMapSize>, map::kMaxMapSize>;

    // The cells as last drawn, for the values the picture shows (heights and goal).
    std::unique_ptr<Cells> drawn_;
    ValueRange range_;
    std::int32_t sizeX_ = -1;
    std::int32_t sizeZ_ = -1;
};

}  // namespace zandrel::tools
