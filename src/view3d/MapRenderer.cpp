#include "view3d/MapRenderer.h"

#include <GL/gl.h>

#include <algorithm>

#include "map/MapGrid.h"
#include "view3d/MapOverlays.h"

namespace zandrel::view3d {

namespace {

using Geometry = PassGeometry;

void Vertex(const Geometry::Point& p) {
    glVertex3f(p.x, p.y, p.z);
}

void TexturedVertex(const Geometry::Point& p, float s, float t) {
    glTexCoord2f(s, t);
    glVertex3f(p.x, p.y, p.z);
}

GLuint PickName(std::int32_t x, std::int32_t z) {
    return static_cast<GLuint>(z * 100 + x);
}

void Colour(const Geometry::Rgb& rgb) {
    glColor3f(rgb[0], rgb[1], rgb[2]);
}

}  // namespace

std::uint32_t MapRenderer::SlotTexture(const map::MapGrid& grid, std::int32_t index) {
    return Geometry::SlotTexture(grid, index);
}

void MapRenderer::Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style) {
    glMatrixMode(GL_MODELVIEW);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        DrawRow(grid, z, renderMode, style);
    }
}

void MapRenderer::DrawRow(const map::MapGrid& grid, std::int32_t z, RenderMode renderMode,
                          const PassStyle& style) {
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    if (z < 0 || z >= sizeZ) {
        return;
    }
    DrawCells(grid, z, 0, sizeX - 1, renderMode, style);
    if (renderMode == RenderMode::Solid) {
        MapOverlays::DrawRowLines(grid, z, style.modes);
    }
}

void MapRenderer::DrawCells(const map::MapGrid& grid, std::int32_t z, std::int32_t x0,
                            std::int32_t x1, RenderMode renderMode, const PassStyle& style) {
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    if (z < 0 || z >= sizeZ) {
        return;
    }
    TextureBinding binding;
    for (std::int32_t x = std::max(x0, 0); x <= std::min(x1, sizeX - 1); ++x) {
        DrawCell(grid, x, z, renderMode, style, binding);
    }
}

void MapRenderer::DrawCell(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           RenderMode renderMode, const PassStyle& style) {
    TextureBinding binding;
    DrawCell(grid, x, z, renderMode, style, binding);
}

void MapRenderer::DrawTile(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           RenderMode renderMode, const PassStyle& style) {
    TextureBinding binding;
    DrawTile(grid, x, z, renderMode, style, binding);
}

void MapRenderer::DrawWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           std::int32_t side, RenderMode renderMode) {
    TextureBinding binding;
    DrawWall(grid, x, z, side, renderMode, binding);
}

void MapRenderer::DrawCell(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           RenderMode renderMode, const PassStyle& style, TextureBinding& binding) {
    DrawTile(grid, x, z, renderMode, style, binding);
    for (const WallSide side : Geometry::kSides) {
        if (Geometry::ConsidersWall(grid, x, z, side)) {
            DrawWall(grid, x, z, side, renderMode, binding);
        }
    }
}

void MapRenderer::DrawTile(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           RenderMode renderMode, const PassStyle& style, TextureBinding& binding) {
    const Geometry::TilePoints points = Geometry::Tile(grid, x, z);
    glLoadName(PickName(x, z));
    Colour(Geometry::TileColour(grid, x, z, renderMode));
    if (renderMode == RenderMode::Wireframe) {
        glDisable(GL_TEXTURE_2D);
        using enum Geometry::Corner;
        const Geometry::Corner loops[4][3] = {
            {kSO, kNO, kCentre}, {kSO, kSE, kCentre}, {kSE, kNE, kCentre}, {kNO, kNE, kCentre}};
        for (const auto& loop : loops) {
            glBegin(GL_LINE_LOOP);
            for (const Geometry::Corner corner : loop) {
                Vertex(points[corner]);
            }
            glEnd();
        }
        return;
    }
    if (renderMode != RenderMode::Solid) {
        return;
    }
    glEnable(GL_TEXTURE_2D);
    binding.Bind(Geometry::SlotTexture(grid, grid.Cell(x, z).typet));
    const bool tinted = Geometry::Tinted(grid, x, z, style);
    const map::CellNormals& normals = grid.normals[x][z];
    glBegin(GL_TRIANGLES);
    for (std::size_t i = 0; i < Geometry::kFan.size(); ++i) {
        const Geometry::FanVertex& vertex = Geometry::kFan[i];
        if (i % 3 == 0) {
            glNormal3fv(normals[Geometry::kFanNormals[i / 3]].data());
        }
        if (tinted) {
            Colour(Geometry::TintColour(grid, x, z, points[vertex.corner], style));
        }
        TexturedVertex(points[vertex.corner], vertex.s, vertex.t);
    }
    glEnd();
}

void MapRenderer::DrawWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           std::int32_t side, RenderMode renderMode, TextureBinding& binding) {
    const Geometry::Wall wall = Geometry::WallOn(grid, x, z, side);
    if (!wall.drawn) {
        return;
    }
    glLoadName(PickName(x, z));
    Colour(Geometry::WallColour(grid, x, z, renderMode));
    if (renderMode == RenderMode::Wireframe) {
        glBegin(GL_LINE_LOOP);
        for (const Geometry::Point& p : wall.v) {
            Vertex(p);
        }
        glEnd();
    } else if (renderMode == RenderMode::Solid) {
        binding.Bind(Geometry::SlotTexture(grid, grid.Cell(x, z).typew));
        glBegin(GL_POLYGON);
        glNormal3fv(wall.normal.data());
        for (std::size_t i = 0; i < wall.v.size(); ++i) {
            const auto st = wall.TexCoord(i);
            TexturedVertex(wall.v[i], st[0], st[1]);
        }
        glEnd();
    }
}

}  // namespace zandrel::view3d
