#include "view3d/MapRenderer.h"

#include <GL/gl.h>

#include <algorithm>

#include "map/MapGrid.h"
#include "view3d/MapOverlays.h"

namespace zandrel::view3d {

namespace {

struct Point {
    float x;
    float y;
    float z;
};

void Vertex(const Point& p) {
    glVertex3f(p.x, p.y, p.z);
}

void TexturedVertex(const Point& p, float s, float t) {
    glTexCoord2f(s, t);
    glVertex3f(p.x, p.y, p.z);
}

GLuint PickName(std::int32_t x, std::int32_t z) {
    return static_cast<GLuint>(z * 100 + x);
}

struct TileCorners {
    Point ne;
    Point no;
    Point se;
    Point so;
    Point centre;
};

// The tile's triangles with the texture modulated by the tint's ramp colour: per corner for
// height, so that slopes shade smoothly, and one colour per cell for gravity and friction.
void DrawTintedTriangles(const map::MapCell& cell, const TileCorners& c, const map::CellNormals& n,
                         const PassStyle& style, double shade) {
    const auto dim = static_cast<float>(1.0 - shade);
    tools::CellField field = tools::CellField::Height;
    if (style.modes.tint == TintMode::Gravity) {
        field = tools::CellField::Gravity;
    } else if (style.modes.tint == TintMode::Friction) {
        field = tools::CellField::Friction;
    }
    const double cellValue = tools::CellValue(cell, field);
    const auto vertex = [&](const Point& p, float s, float t) {
        const double value = field == tools::CellField::Height ? p.y : cellValue;
        const tools::Rgb rgb = tools::RampColour(tools::RampPosition(value, style.tintRange));
        glColor3f(rgb[0] * dim, rgb[1] * dim, rgb[2] * dim);
        TexturedVertex(p, s, t);
    };
    glBegin(GL_TRIANGLES);
    glNormal3fv(n[1].data());
    vertex(c.se, 1.0f, 1.0f);
    vertex(c.centre, 0.5f, 0.5f);
    vertex(c.so, 0.0f, 1.0f);
    glNormal3fv(n[2].data());
    vertex(c.ne, 1.0f, 0.0f);
    vertex(c.centre, 0.5f, 0.5f);
    vertex(c.se, 1.0f, 1.0f);
    glNormal3fv(n[3].data());
    vertex(c.no, 0.0f, 0.0f);
    vertex(c.centre, 0.5f, 0.5f);
    vertex(c.so, 0.0f, 1.0f);
    glNormal3fv(n[0].data());
    vertex(c.no, 0.0f, 0.0f);
    vertex(c.centre, 0.5f, 0.5f);
    vertex(c.ne, 1.0f, 0.0f);
    glEnd();
}

}  // namespace

std::uint32_t MapRenderer::SlotTexture(const map::MapGrid& grid, std::int32_t index) {
    if (index < 0 || index >= map::kMaxTextureSlots) {
        return 0;
    }
    return grid.textureIds[index];
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
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    const map::MapCell& cell = grid.Cell(x, z);
    DrawTile(grid, x, z, renderMode, style, binding);
    // Exact comparisons: neighbours share an edge only when both corners agree.
    if (!(z + 1 < sizeZ && cell.SE == grid.Cell(x, z + 1).NE &&
          cell.SO == grid.Cell(x, z + 1).NO)) {
        DrawWall(grid, x, z, kSouth, renderMode, binding);
    }
    if (!(z - 1 >= 0 && cell.NO == grid.Cell(x, z - 1).SO && cell.NE == grid.Cell(x, z - 1).SE)) {
        DrawWall(grid, x, z, kNorth, renderMode, binding);
    }
    if (!(x - 1 >= 0 && cell.NE == grid.Cell(x - 1, z).NO && cell.SE == grid.Cell(x - 1, z).SO)) {
        DrawWall(grid, x, z, kEast, renderMode, binding);
    }
    if (!(x + 1 < sizeX && cell.SO == grid.Cell(x + 1, z).SE &&
          cell.NO == grid.Cell(x + 1, z).NE)) {
        DrawWall(grid, x, z, kWest, renderMode, binding);
    }
}

void MapRenderer::DrawTile(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           RenderMode renderMode, const PassStyle& style, TextureBinding& binding) {
    const map::MapCell& cell = grid.Cell(x, z);
    const float fx = static_cast<float>(x);
    const float fz = static_cast<float>(z);
    const Point ne{fx, static_cast<float>(cell.NE), fz};
    const Point no{fx + 1.0f, static_cast<float>(cell.NO), fz};
    const Point se{fx, static_cast<float>(cell.SE), fz + 1.0f};
    const Point so{fx + 1.0f, static_cast<float>(cell.SO), fz + 1.0f};
    const Point centre{fx + 0.5f, static_cast<float>(cell.C), fz + 0.5f};

    glLoadName(PickName(x, z));
    const bool selected = grid.selection.Contains(x, z);
    const double shade = cell.goal == 1 ? 0.2 : 0.0;
    if (selected) {
        glColor3f(static_cast<float>(0.4 - shade), static_cast<float>(0.5 - shade),
                  static_cast<float>(0.7 - shade));
    } else {
        glColor3f(static_cast<float>(1.0 - shade), static_cast<float>(1.0 - shade),
                  static_cast<float>(1.0 - shade));
    }

    if (renderMode == RenderMode::Wireframe) {
        glDisable(GL_TEXTURE_2D);
        const Point loops[4][3] = {
            {so, no, centre}, {so, se, centre}, {se, ne, centre}, {no, ne, centre}};
        for (const auto& loop : loops) {
            glBegin(GL_LINE_LOOP);
            for (const Point& p : loop) {
                Vertex(p);
            }
            glEnd();
        }
    } else if (renderMode == RenderMode::Solid) {
        glEnable(GL_TEXTURE_2D);
        binding.Bind(SlotTexture(grid, cell.typet));
        if (grid.start.Contains(x, z)) {
            if (selected) {
                glColor3f(0.4f, 0.5f, 0.7f);
            } else {
                glColor3f(1.0f, 1.0f, 1.0f);
            }
        }
        const map::CellNormals& n = grid.normals[x][z];
        if (style.modes.tint != TintMode::Off && !selected) {
            DrawTintedTriangles(cell, {ne, no, se, so, centre}, n, style,
                                grid.start.Contains(x, z) ? 0.0 : shade);
            return;
        }
        glBegin(GL_TRIANGLES);
        glNormal3fv(n[1].data());
        TexturedVertex(se, 1.0f, 1.0f);
        TexturedVertex(centre, 0.5f, 0.5f);
        TexturedVertex(so, 0.0f, 1.0f);
        glNormal3fv(n[2].data());
        TexturedVertex(ne, 1.0f, 0.0f);
        TexturedVertex(centre, 0.5f, 0.5f);
        TexturedVertex(se, 1.0f, 1.0f);
        glNormal3fv(n[3].data());
        TexturedVertex(no, 0.0f, 0.0f);
        TexturedVertex(centre, 0.5f, 0.5f);
        TexturedVertex(so, 0.0f, 1.0f);
        glNormal3fv(n[0].data());
        TexturedVertex(no, 0.0f, 0.0f);
        TexturedVertex(centre, 0.5f, 0.5f);
        TexturedVertex(ne, 1.0f, 0.0f);
        glEnd();
    }
}

void MapRenderer::DrawWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                           std::int32_t side, RenderMode renderMode, TextureBinding& binding) {
    const map::MapCell& cell = grid.Cell(x, z);
    const float fx = static_cast<float>(x);
    const float fz = static_cast<float>(z);
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    Point v0{};
    Point v1{};
    Point v2{};
    Point v3{};
    float normal[3] = {0.0f, 0.0f, 0.0f};
    // Where there is no neighbour the wall reaches down to height 0.
    switch (side) {
        case kSouth: {
            const bool has = z + 1 < sizeZ;
            v0 = {fx, static_cast<float>(cell.SE), fz + 1.0f};
            v1 = {fx + 1.0f, static_cast<float>(cell.SO), fz + 1.0f};
            v2 = {fx + 1.0f, has ? static_cast<float>(grid.Cell(x, z + 1).NO) : 0.0f, fz + 1.0f};
            v3 = {fx, has ? static_cast<float>(grid.Cell(x, z + 1).NE) : 0.0f, fz + 1.0f};
            normal[2] = 1.0f;
            break;
        }
        case kNorth: {
            const bool has = z - 1 >= 0;
            v0 = {fx, static_cast<float>(cell.NE), fz};
            v1 = {fx + 1.0f, static_cast<float>(cell.NO), fz};
            v2 = {fx + 1.0f, has ? static_cast<float>(grid.Cell(x, z - 1).SO) : 0.0f, fz};
            v3 = {fx, has ? static_cast<float>(grid.Cell(x, z - 1).SE) : 0.0f, fz};
            normal[2] = -1.0f;
            break;
        }
        case kEast: {
            const bool has = x - 1 >= 0;
            v0 = {fx, static_cast<float>(cell.NE), fz};
            v1 = {fx, static_cast<float>(cell.SE), fz + 1.0f};
            v2 = {fx, has ? static_cast<float>(grid.Cell(x - 1, z).SO) : 0.0f, fz + 1.0f};
            v3 = {fx, has ? static_cast<float>(grid.Cell(x - 1, z).NO) : 0.0f, fz};
            normal[0] = -1.0f;
            break;
        }
        case kWest: {
            const bool has = x + 1 < sizeX;
            v0 = {fx + 1.0f, static_cast<float>(cell.NO), fz};
            v1 = {fx + 1.0f, static_cast<float>(cell.SO), fz + 1.0f};
            v2 = {fx + 1.0f, has ? static_cast<float>(grid.Cell(x + 1, z).SE) : 0.0f, fz + 1.0f};
            v3 = {fx + 1.0f, has ? static_cast<float>(grid.Cell(x + 1, z).NE) : 0.0f, fz};
            normal[0] = 1.0f;
            break;
        }
        default:
            return;
    }
    // The higher edge on average draws the wall; equal averages draw it from both sides.
    if ((v2.y + v3.y) * 0.5f > (v0.y + v1.y) * 0.5f) {
        return;
    }

    glLoadName(PickName(x, z));
    const bool selected = grid.selection.Contains(x, z);
    if (renderMode == RenderMode::Wireframe) {
        if (selected) {
            glColor3f(0.0f, 0.0f, 1.0f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        glBegin(GL_LINE_LOOP);
        Vertex(v0);
        Vertex(v1);
        Vertex(v2);
        Vertex(v3);
        glEnd();
    } else if (renderMode == RenderMode::Solid) {
        if (selected) {
            glColor3f(0.4f, 0.5f, 0.7f);
        } else {
            glColor3f(1.0f, 1.0f, 1.0f);
        }
        binding.Bind(SlotTexture(grid, cell.typew));
        glBegin(GL_POLYGON);
        glNormal3fv(normal);
        TexturedVertex(v0, 1.0f, 0.0f);
        TexturedVertex(v1, 0.0f, 0.0f);
        TexturedVertex(v2, 0.0f, v2.y - v1.y);
        TexturedVertex(v3, 1.0f, v3.y - v0.y);
        glEnd();
    }
}

}  // namespace zandrel::view3d
