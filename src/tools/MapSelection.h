#pragma once

#include <cstdint>

#include "map/CellRect.h"
#include "map/MapGrid.h"

namespace zandrel::tools {

// A view's selected block of cells and whether the current edit step already has its undo
// snapshot. The terrain tools are operations of the selection: each reads the corners and
// changes only the map it is given. Loops run z outer, x inner, both ascending, unless noted.
struct MapSelection : map::CellRect {
    // Set by the first applyTool on this selection; cleared by a new selection and by paste,
    // merge, undo and cut, so each of those starts a new undo step.
    bool undoSaved = false;

    MapSelection() = default;
    MapSelection(std::int32_t newX0, std::int32_t newZ0, std::int32_t newX1, std::int32_t newZ1) {
        Set(newX0, newZ0, newX1, newZ1);
    }

    // Picked cells are named z * 100 + x; -1 is no cell.
    static constexpr std::int32_t CellName(std::int32_t x, std::int32_t z) { return z * 100 + x; }

    // The block spanned by two cell names, corners normalised; clears undoSaved.
    void setFromHits(std::int32_t a, std::int32_t b);

    // Square when both sides have the same length; a single cell is square. Tilt refuses square
    // selections and pyramid needs one.
    bool isSquare() const;

    // One application of tool mode with value v, as a wheel notch, drag step or tool command
    // does. The first application on this selection saves the map's heights into undo first,
    // whatever the mode, even one that is then refused or does nothing.
    void applyTool(map::MapGrid& map, map::MapGrid& undo, std::int32_t mode, double v);

    // Every cell flat at h.
    void flattenTo(map::MapGrid& map, double h) const;
    // Every cell's five heights raised by dh; the copies of border vertices outside stay.
    void raiseCells(map::MapGrid& map, double dh) const;
    // Every cell's five heights set to h.
    void setCells(map::MapGrid& map, double h) const;
    // Every cell flat at its own centre height plus d.
    void levelCells(map::MapGrid& map, double d) const;
    // Makes the copies of each inside vertex agree at its NE-side height plus d: the centre of
    // a single cell, the inner boundaries of a row or column, the inside vertices otherwise.
    void weldVertices(map::MapGrid& map, double d) const;
    // Steps the cells by d per cell along the longer side (z for a square), then welds the
    // border seams; the inside is left to a following weldVertices.
    void tilt(map::MapGrid& map, double d) const;
    // weldVertices(s) on this block and then on each inner ring in turn.
    void pyramid(map::MapGrid& map, double s) const;

private:
    // The whole-cell operations index cells directly, so they visit only cells the storage
    // holds, z outer and x inner.
    template <typename Visit>
    void ForEachStoredCell(Visit visit) const {
        const std::int32_t firstX = x0 < 0 ? 0 : x0;
        const std::int32_t lastX = x1 > map::kMaxMapSize - 1 ? map::kMaxMapSize - 1 : x1;
        const std::int32_t firstZ = z0 < 0 ? 0 : z0;
        const std::int32_t lastZ = z1 > map::kMaxMapSize - 1 ? map::kMaxMapSize - 1 : z1;
        for (std::int32_t z = firstZ; z <= lastZ; ++z) {
            for (std::int32_t x = firstX; x <= lastX; ++x) {
                visit(x, z);
            }
        }
    }
};

}  // namespace zandrel::tools
