#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "map/MapGrid.h"
#include "view3d/ViewModes.h"

namespace zandrel::view3d {

class TextureBinding;

// The solid pass of one row of cells as client vertex arrays: the row's tiles gathered into one
// run of triangles per texture, then its walls likewise, so that a row takes a few draw calls
// where the immediate pass makes a begin and end, and often a bind, per tile and wall. The
// vertices carry the values the immediate pass sends (PassGeometry), each wall split into
// triangles as GL splits its polygon, so every primitive rasterises as it did.
//
// Order matters only where two primitives cover a pixel at the same depth. Rows keep their
// order, and so do the primitives of a run. A cell's tile comes before its walls, as in the
// pass: a wall hangs from its tile's edge, and behind the tile the two meet at the same depth.
// One such place is left to the order by design: where both cells draw the wall on a shared
// edge (crossing corners, equal averages), the pass draws the north or east cell's wall first
// and the twin lies hidden behind it but where rounding puts it in front. Here the twin is left
// out, so the wall drawn first shows whatever the order of the runs.
//
// Mesa rounds the vertices of a draw that crosses the view volume's sides through its clipper,
// a step apart from those of a draw that does not: where part of the map is outside the view,
// a few pixels may differ by one step in one channel, as they do in the immediate pass itself
// when a texture bind parts its primitives differently.
class RowBatch {
public:
    // Cells of a piece of a row: a view that shows only part of a row draws only its pieces.
    static constexpr std::int32_t kPieceCells = 10;
    static constexpr std::int32_t kPieces = (map::kMaxMapSize + kPieceCells - 1) / kPieceCells;

    struct Vertex {
        float s, t;
        float r, g, b;
        float nx, ny, nz;
        float x, y, z;
    };

    // What a run's primitives share: their texture, and whether they are tiles or walls.
    struct RunKey {
        std::uint32_t texture = 0;
        bool walls = false;
        bool operator==(const RunKey&) const = default;
    };

    // What the immediate pass leaves current after the row's last tile or wall: what is drawn
    // after the pass (the enemy markers) takes its colour and texture from it.
    struct LeftState {
        std::array<float, 3> colour{};
        std::array<float, 3> normal{};
        std::array<float, 2> texCoord{};
        std::uint32_t texture = 0;
    };

    // Row z of grid as the solid pass draws it with style.
    void Build(const map::MapGrid& grid, std::int32_t z, const PassStyle& style);
    // Draws the pieces of the row that shown marks, through the texture binding of the pass,
    // and returns the number of draw calls. The arrays must be enabled (GL_VERTEX_ARRAY,
    // GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY, GL_NORMAL_ARRAY) and texturing on.
    std::int32_t Draw(const std::array<bool, kPieces>& shown, TextureBinding& binding) const;

    // The state after the row; false for a row without cells.
    bool HasLeftState() const { return hasLeftState_; }
    const LeftState& Left() const { return left_; }
    std::size_t Triangles() const { return vertices_.size() / 3; }
    std::size_t Runs() const { return runs_.size(); }

private:
    struct Run {
        RunKey key;
        // Where each piece's vertices start in vertices_; the last entry is the run's end.
        std::array<std::int32_t, kPieces + 1> pieceStart{};
    };

    std::vector<Vertex> vertices_;
    std::vector<Run> runs_;
    std::int32_t pieces_ = 0;
    LeftState left_;
    bool hasLeftState_ = false;
};

}  // namespace zandrel::view3d
