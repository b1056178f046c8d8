#pragma once

#include <cstdint>

#include "view3d/PassGeometry.h"
#include "view3d/RenderMode.h"
#include "view3d/TextureBinding.h"
#include "view3d/ViewModes.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// The map pass: every tile and wall of the cells in use, each under its cell's pick name
// z * 100 + x, so that the same pass serves drawing and GL_SELECT picking.
class MapRenderer {
public:
    using WallSide = PassGeometry::WallSide;

    // The solid pass follows style's tint and overlay lines; the default style, like wireframe,
    // draws the plain map. Lighting for relief is the caller's (MapOverlays::Begin).
    static void Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style = {});
    // One row of cells z with their walls: what a row of the map pass draws, in the same order,
    // then the row's grid and contour lines. The row reads its neighbour rows' edges and the
    // selection and start stored in grid.
    static void DrawRow(const map::MapGrid& grid, std::int32_t z, RenderMode renderMode,
                        const PassStyle& style = {});
    // Cells x0 to x1 of row z with their walls, in the order the row draws them, binding each
    // texture once per run of cells and walls using it; not the row's lines.
    static void DrawCells(const map::MapGrid& grid, std::int32_t z, std::int32_t x0,
                          std::int32_t x1, RenderMode renderMode, const PassStyle& style = {});
    // One cell of a row: its tile, then the walls on its sides that its neighbours do not meet.
    // Each call binds the textures it draws with; a row binds each texture once per run of
    // cells and walls that use it, which draws the same image.
    static void DrawCell(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                         RenderMode renderMode, const PassStyle& style = {});
    static void DrawTile(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                         RenderMode renderMode, const PassStyle& style = {});
    // Draws the wall on one side unless the neighbour's edge is higher on average; an unknown
    // side code draws nothing.
    static void DrawWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                         std::int32_t side, RenderMode renderMode);

    // Texture object of slot index, or 0 when the index is not a slot.
    static std::uint32_t SlotTexture(const map::MapGrid& grid, std::int32_t index);

private:
    static void DrawCell(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                         RenderMode renderMode, const PassStyle& style, TextureBinding& binding);
    static void DrawTile(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                         RenderMode renderMode, const PassStyle& style, TextureBinding& binding);
    static void DrawWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                         std::int32_t side, RenderMode renderMode, TextureBinding& binding);
};

}  // namespace zandrel::view3d
