#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/MapGrid.h"

#include "view3d/RenderMode.h"
#include "view3d/RowBatch.h"
#include "view3d/ViewModes.h"
#include "view3d/ViewVolume.h"

namespace zandrel::view3d {

// The solid map pass in batches: each row of cells kept as client vertex arrays with one run
// of triangles per texture (RowBatch), rebuilt only when something the row draws changes: its
// cells, the edges of its neighbour rows, the texture objects of its slots, its goal, start and
// selection tints, or the view modes' style. A mouse move redraws the view although the map
// seldom changes between moves, and a map of terraces has a wall on nearly every cell edge:
// drawn one begin and end per tile and wall, such a map cost as many draw calls as it has
// primitives. Rows are drawn in order, each followed by its grid and contour lines, so the
// image is that of the immediate pass but where a hidden twin wall is left out (RowBatch).
// Wireframe frames draw the immediate pass.
//
// Holds no GL objects: it works in whatever context is current.
class MapPassBatches {
public:
    // Draws the map pass of grid. Given the frame's view volume, the pieces of rows that
    // cannot reach it are left out. Afterwards colour, normal, texture coordinates and the
    // bound texture are what the immediate pass leaves, whatever was left out.
    void Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style = {},
              const ViewVolume* volume = nullptr);
    // Rows the last Draw rebuilt because they changed.
    std::int32_t LastRebuiltRows() const { return lastRebuilt_; }
    // Pieces of rows the last Draw left out as outside the view volume.
    std::int32_t LastCulledPieces() const { return lastCulled_; }
    // Draw calls of the last Draw's cells and walls.
    std::int32_t LastDrawCalls() const { return lastDrawCalls_; }

private:
    // The bytes of everything row z draws from, compared exactly: no collision can keep a
    // stale row.
    static void Signature(const map::MapGrid& grid, std::int32_t z, const PassStyle& style,
                          std::vector<unsigned char>& out);

    struct Row {
        std::vector<unsigned char> signature;
        RowBatch batch;
    };
    std::vector<Row> rows_;
    std::vector<unsigned char> scratch_;
    std::int32_t lastRebuilt_ = 0;
    std::int32_t lastCulled_ = 0;
    std::int32_t lastDrawCalls_ = 0;
};

}  // namespace zandrel::view3d
