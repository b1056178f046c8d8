#include "view3d/MapPassBatches.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "map/MapGrid.h"
#include "view3d/MapOverlays.h"
#include "view3d/MapRenderer.h"
#include "view3d/TextureBinding.h"

namespace zandrel::view3d {

namespace {

template <typename T>
void Append(std::vector<unsigned char>& out, const T& value) {
    const std::size_t at = out.size();
    out.resize(at + sizeof(T));
    std::memcpy(out.data() + at, &value, sizeof(T));
}

void AppendCorners(const map::MapCell& cell, std::vector<unsigned char>& out) {
    Append(out, cell.NE);
    Append(out, cell.NO);
    Append(out, cell.SE);
    Append(out, cell.SO);
}

// The corner heights of a neighbour row, or nothing outside the map: walls read them.
void AppendEdges(const map::MapGrid& grid, std::int32_t z, std::int32_t sizeX, std::int32_t sizeZ,
                 std::vector<unsigned char>& out) {
    if (z < 0 || z >= sizeZ) {
        return;
    }
    for (std::int32_t x = 0; x < sizeX; ++x) {
        AppendCorners(grid.Cell(x, z), out);
    }
}

}  // namespace

void MapPassBatches::Signature(const map::MapGrid& grid, std::int32_t z, const PassStyle& style,
                               std::vector<unsigned char>& out) {
    out.clear();
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    // Field by field: the structs' padding holds no value. The lines and the light are not
    // part of a batch.
    Append(out, style.modes.tint);
    Append(out, style.tintRange.low);
    Append(out, style.tintRange.high);
    Append(out, sizeX);
    Append(out, sizeZ);
    for (std::int32_t x = 0; x < sizeX; ++x) {
        const map::MapCell& cell = grid.Cell(x, z);
        AppendCorners(cell, out);
        Append(out, cell.C);
        Append(out, cell.goal);
        Append(out, MapRenderer::SlotTexture(grid, cell.typet));
        Append(out, MapRenderer::SlotTexture(grid, cell.typew));
        const unsigned char tints = static_cast<unsigned char>(
            (grid.selection.Contains(x, z) ? 1 : 0) | (grid.start.Contains(x, z) ? 2 : 0));
        Append(out, tints);
        Append(out, grid.normals[x][z]);
        Append(out, cell.grav);
        Append(out, cell.artr);
    }
    AppendEdges(grid, z - 1, sizeX, sizeZ, out);
    AppendEdges(grid, z + 1, sizeX, sizeZ, out);
}

void MapPassBatches::Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style,
                          const ViewVolume* volume) {
    glMatrixMode(GL_MODELVIEW);
    lastRebuilt_ = 0;
    lastCulled_ = 0;
    lastDrawCalls_ = 0;
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    if (sizeZ < 1) {
        return;
    }
    if (renderMode != RenderMode::Solid) {
        MapRenderer::Draw(grid, renderMode);
        return;
    }
    rows_.resize(static_cast<std::size_t>(map::kMaxMapSize));
    glEnable(GL_TEXTURE_2D);
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    TextureBinding binding;
    const std::int32_t pieces = (sizeX + RowBatch::kPieceCells - 1) / RowBatch::kPieceCells;
    const RowBatch* last = nullptr;
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        Row& row = rows_[static_cast<std::size_t>(z)];
        Signature(grid, z, style, scratch_);
        if (row.signature != scratch_) {
            row.batch.Build(grid, z, style);
            row.signature.swap(scratch_);
            ++lastRebuilt_;
        }
        last = &row.batch;
        std::array<bool, RowBatch::kPieces> shown{};
        const bool rowShown = volume == nullptr || volume->MayShowCells(grid, z, 0, sizeX - 1);
        for (std::int32_t p = 0; p < pieces; ++p) {
            const std::int32_t x0 = p * RowBatch::kPieceCells;
            shown[static_cast<std::size_t>(p)] =
                rowShown && (volume == nullptr ||
                             volume->MayShowCells(grid, z, x0, x0 + RowBatch::kPieceCells - 1));
            lastCulled_ += shown[static_cast<std::size_t>(p)] ? 0 : 1;
        }
        if (!rowShown) {
            continue;
        }
        lastDrawCalls_ += row.batch.Draw(shown, binding);
        MapOverlays::DrawRowLines(grid, z, style.modes);
    }
    glPopClientAttrib();
    // What the immediate pass leaves current, for what is drawn after it.
    if (last != nullptr && last->HasLeftState()) {
        const RowBatch::LeftState& left = last->Left();
        glColor3fv(left.colour.data());
        glNormal3fv(left.normal.data());
        glTexCoord2fv(left.texCoord.data());
        binding.Bind(left.texture);
    }
}

}  // namespace zandrel::view3d
