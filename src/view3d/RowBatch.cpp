#include "view3d/RowBatch.h"

#include <GL/gl.h>

#include <algorithm>

#include "view3d/PassGeometry.h"
#include "view3d/TextureBinding.h"

namespace zandrel::view3d {

namespace {

using Geometry = PassGeometry;

RowBatch::Vertex MakeVertex(const Geometry::Point& p, std::array<float, 2> st,
                            const Geometry::Rgb& rgb, const std::array<float, 3>& n) {
    return {st[0], st[1], rgb[0], rgb[1], rgb[2], n[0], n[1], n[2], p.x, p.y, p.z};
}

// The row's vertices per texture, tiles apart from walls, while it is gathered, with where
// each piece starts.
struct PendingRun {
    RowBatch::RunKey key;
    std::vector<RowBatch::Vertex> vertices;
    std::array<std::int32_t, RowBatch::kPieces + 1> pieceStart{};
};

std::vector<RowBatch::Vertex>& RunFor(std::vector<PendingRun>& runs, const RowBatch::RunKey& key) {
    const auto found = std::find_if(runs.begin(), runs.end(),
                                    [&](const PendingRun& run) { return run.key == key; });
    if (found != runs.end()) {
        return found->vertices;
    }
    // Pieces before this one hold none of its vertices: they all start at 0.
    runs.push_back({key, {}, {}});
    return runs.back().vertices;
}

}  // namespace

void RowBatch::Build(const map::MapGrid& grid, std::int32_t z, const PassStyle& style) {
    vertices_.clear();
    runs_.clear();
    hasLeftState_ = false;
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    pieces_ = (std::max(sizeX, 0) + kPieceCells - 1) / kPieceCells;
    std::vector<PendingRun> pending;
    for (std::int32_t x = 0; x < sizeX; ++x) {
        const std::int32_t piece = x / kPieceCells;
        if (x % kPieceCells == 0) {
            for (PendingRun& run : pending) {
                run.pieceStart[static_cast<std::size_t>(piece)] =
                    static_cast<std::int32_t>(run.vertices.size());
            }
        }
        const map::MapCell& cell = grid.Cell(x, z);
        const Geometry::TilePoints points = Geometry::Tile(grid, x, z);
        const bool tinted = Geometry::Tinted(grid, x, z, style);
        const Geometry::Rgb plain = Geometry::TileColour(grid, x, z, RenderMode::Solid);
        const std::uint32_t tileTexture = Geometry::SlotTexture(grid, cell.typet);
        std::vector<Vertex>& tiles = RunFor(pending, {tileTexture, false});
        for (std::size_t i = 0; i < Geometry::kFan.size(); ++i) {
            const Geometry::FanVertex& fan = Geometry::kFan[i];
            const Geometry::Point& p = points[fan.corner];
            const Geometry::Rgb rgb = tinted ? Geometry::TintColour(grid, x, z, p, style) : plain;
            tiles.push_back(MakeVertex(p, {fan.s, fan.t}, rgb,
                                       grid.normals[x][z][Geometry::kFanNormals[i / 3]]));
        }
        const Vertex& last = tiles.back();
        left_ = {
            {last.r, last.g, last.b}, {last.nx, last.ny, last.nz}, {last.s, last.t}, tileTexture};
        hasLeftState_ = true;

        const Geometry::Rgb wallColour = Geometry::WallColour(grid, x, z, RenderMode::Solid);
        const std::uint32_t wallTexture = Geometry::SlotTexture(grid, cell.typew);
        for (const Geometry::WallSide side : Geometry::kSides) {
            if (!Geometry::ConsidersWall(grid, x, z, side)) {
                continue;
            }
            const Geometry::Wall wall = Geometry::WallOn(grid, x, z, side);
            if (!wall.drawn) {
                continue;
            }
            // A hidden twin still leaves its state behind in the immediate pass.
            left_ = {wallColour, wall.normal, wall.TexCoord(3), wallTexture};
            if (wall.twin && (side == Geometry::kNorth || side == Geometry::kEast)) {
                continue;
            }
            std::vector<Vertex>& walls = RunFor(pending, {wallTexture, true});
            // The quadrilateral as Mesa splits a polygon, each triangle ending on the first
            // vertex: a triangle's vertex order sets the rounding of what it interpolates.
            for (const std::size_t i : {1u, 2u, 0u, 2u, 3u, 0u}) {
                walls.push_back(MakeVertex(wall.v[i], wall.TexCoord(i), wallColour, wall.normal));
            }
        }
    }
    // The row's tiles before its walls, as each cell draws its tile before its walls: a wall
    // meets its cell's tile along the wall's top edge, where the two can cover a pixel at the
    // same depth, and the tile drawn first keeps that pixel.
    std::stable_partition(pending.begin(), pending.end(),
                          [](const PendingRun& run) { return !run.key.walls; });
    std::size_t total = 0;
    for (const PendingRun& run : pending) {
        total += run.vertices.size();
    }
    vertices_.reserve(total);
    for (PendingRun& run : pending) {
        run.pieceStart[static_cast<std::size_t>(pieces_)] =
            static_cast<std::int32_t>(run.vertices.size());
        Run placed{run.key, {}};
        const auto offset = static_cast<std::int32_t>(vertices_.size());
        for (std::int32_t p = 0; p <= pieces_; ++p) {
            placed.pieceStart[static_cast<std::size_t>(p)] =
                offset + run.pieceStart[static_cast<std::size_t>(p)];
        }
        vertices_.insert(vertices_.end(), run.vertices.begin(), run.vertices.end());
        runs_.push_back(placed);
    }
}

std::int32_t RowBatch::Draw(const std::array<bool, kPieces>& shown, TextureBinding& binding) const {
    std::int32_t calls = 0;
    if (vertices_.empty()) {
        return calls;
    }
    constexpr auto kStride = static_cast<GLsizei>(sizeof(Vertex));
    const Vertex& first = vertices_.front();
    glTexCoordPointer(2, GL_FLOAT, kStride, &first.s);
    glColorPointer(3, GL_FLOAT, kStride, &first.r);
    glNormalPointer(GL_FLOAT, kStride, &first.nx);
    glVertexPointer(3, GL_FLOAT, kStride, &first.x);
    for (const Run& run : runs_) {
        // One draw per stretch of shown pieces.
        std::int32_t p = 0;
        while (p < pieces_) {
            if (!shown[static_cast<std::size_t>(p)]) {
                ++p;
                continue;
            }
            std::int32_t end = p;
            while (end < pieces_ && shown[static_cast<std::size_t>(end)]) {
                ++end;
            }
            const std::int32_t from = run.pieceStart[static_cast<std::size_t>(p)];
            const std::int32_t count = run.pieceStart[static_cast<std::size_t>(end)] - from;
            if (count > 0) {
                binding.Bind(run.key.texture);
                glDrawArrays(GL_TRIANGLES, from, count);
                ++calls;
            }
            p = end;
        }
    }
    return calls;
}

}  // namespace zandrel::view3d
