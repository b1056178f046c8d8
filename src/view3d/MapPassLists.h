#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "map/MapGrid.h"

#include "view3d/RenderMode.h"
#include "view3d/ViewModes.h"
#include "view3d/ViewVolume.h"

namespace zandrel::view3d {

// The map pass kept in GL display lists, a few per row of cells (see kChunkCells). A mouse move
// redraws the view although the map seldom changes between moves, so a row's lists are replayed
// until something the row draws changes: its cells, the edges of its neighbour rows, the
// texture objects of its slots, its goal, start and selection tints, the render mode, or the
// view modes' style. A row that changed since the last frame is drawn immediately, and compiled
// once it has stayed the same for a frame: compiling costs more than drawing, so the rows a tool
// drag or a selection drag changes on every move, and the first frame of a view, are never
// compiled only to be thrown away. The lists replay the calls of MapRenderer::DrawRow in the
// same order, so the image is that of the immediate pass. Only the solid pass is listed: Mesa
// replays the wireframe's constant line colours from a list with a different rounding (one step
// in a channel), so wireframe frames draw immediately and leave the lists as they were.
//
// The lists belong to the context that was current at the first Draw; call Release with that
// context (or one of its share group) current before it goes away.
class MapPassLists {
public:
    MapPassLists() = default;
    MapPassLists(const MapPassLists&) = delete;
    MapPassLists& operator=(const MapPassLists&) = delete;
    ~MapPassLists() = default;

    // Draws the map pass of grid: each row from its list, compiled if the row is as the last
    // frame drew it, or immediately if it changed since. Given the frame's view volume, the
    // pieces of rows that cannot reach it are left out, except in the last row: the state the
    // pass leaves behind (colour, texturing) is what the enemy markers draw with.
    void Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style = {},
              const ViewVolume* volume = nullptr);
    // Deletes the lists; the next Draw draws every row immediately.
    void Release();
    // Rows the last Draw compiled, and rows it drew immediately.
    std::int32_t LastCompiledRows() const { return lastCompiled_; }
    std::int32_t LastImmediateRows() const { return lastImmediate_; }
    // Pieces of rows the last Draw left out as outside the view volume.
    std::int32_t LastCulledChunks() const { return lastCulled_; }

private:
    // A row is drawn in pieces of this many cells, in order, then its grid and contour lines:
    // a view looking along the rows leaves out what it does not show of each. The lines stay
    // one piece after all the cells, where the whole row's pass draws them.
    static constexpr std::int32_t kChunkCells = 10;
    static constexpr std::int32_t kChunksPerRow =
        (map::kMaxMapSize + kChunkCells - 1) / kChunkCells;
    static constexpr std::int32_t kListsPerRow = kChunksPerRow + 1;

    // The bytes of everything row z draws from, compared exactly: no collision can keep a
    // stale row.
    static void Signature(const map::MapGrid& grid, std::int32_t z, RenderMode renderMode,
                          const PassStyle& style, std::vector<unsigned char>& out);

    std::uint32_t base_ = 0;
    std::int32_t rows_ = 0;
    // Per row: the signature its list was compiled from, and the one the last frame drew
    // immediately; empty when the last frame replayed the list (a signature is never empty).
    std::vector<std::vector<unsigned char>> listed_;
    std::vector<std::vector<unsigned char>> drawn_;
    std::vector<unsigned char> scratch_;
    std::int32_t lastCompiled_ = 0;
    std::int32_t lastImmediate_ = 0;
    std::int32_t lastCulled_ = 0;
};

}  // namespace zandrel::view3d
