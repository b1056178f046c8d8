#include "view3d/MapPassLists.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>

#include "map/MapGrid.h"
#include "view3d/MapRenderer.h"

namespace zandrel::view3d {

namespace {

template <typename T>
void Append(std::vector<unsigned char>& out, const T& value) {
    const std::size_t at = out.size();
    out.resize(at + sizeof(T));
    std::memcpy(out.data() + at, &value, sizeof(T));
}

// The corner heights of a neighbour row, or nothing outside the map: walls read them.
void AppendEdges(const map::MapGrid& grid, std::int32_t z, std::int32_t sizeX, std::int32_t sizeZ,
                 std::vector<unsigned char>& out) {
    if (z < 0 || z >= sizeZ) {
        return;
    }
    for (std::int32_t x = 0; x < sizeX; ++x) {
        const map::MapCell& cell = grid.Cell(x, z);
        Append(out, cell.NE);
        Append(out, cell.NO);
        Append(out, cell.SE);
        Append(out, cell.SO);
    }
}

}  // namespace

void MapPassLists::Signature(const map::MapGrid& grid, std::int32_t z, RenderMode renderMode,
                             const PassStyle& style, std::vector<unsigned char>& out) {
    out.clear();
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    Append(out, renderMode);
    // Field by field: the structs' padding holds no value.
    Append(out, style.modes.relief);
    Append(out, style.modes.grid);
    Append(out, style.modes.contours);
    Append(out, style.modes.tint);
    Append(out, style.tintRange.low);
    Append(out, style.tintRange.high);
    Append(out, sizeX);
    Append(out, sizeZ);
    for (std::int32_t x = 0; x < sizeX; ++x) {
        const map::MapCell& cell = grid.Cell(x, z);
        Append(out, cell.NE);
        Append(out, cell.NO);
        Append(out, cell.SE);
        Append(out, cell.SO);
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

void MapPassLists::Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style) {
    glMatrixMode(GL_MODELVIEW);
    lastCompiled_ = 0;
    lastImmediate_ = 0;
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    if (sizeZ < 1) {
        return;
    }
    if (renderMode != RenderMode::Solid) {
        MapRenderer::Draw(grid, renderMode);
        return;
    }
    if (base_ == 0) {
        base_ = glGenLists(map::kMaxMapSize);
        if (base_ == 0) {
            // No lists to be had: the immediate pass draws the same image.
            MapRenderer::Draw(grid, renderMode, style);
            return;
        }
        rows_ = map::kMaxMapSize;
        listed_.assign(static_cast<std::size_t>(rows_), {});
        drawn_.assign(static_cast<std::size_t>(rows_), {});
    }
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        Signature(grid, z, renderMode, style, scratch_);
        const auto row = static_cast<std::size_t>(z);
        const GLuint list = base_ + static_cast<GLuint>(z);
        if (listed_[row] == scratch_) {
            glCallList(list);
            drawn_[row].clear();
        } else if (drawn_[row] == scratch_) {
            glNewList(list, GL_COMPILE);
            MapRenderer::DrawRow(grid, z, renderMode, style);
            glEndList();
            listed_[row].swap(scratch_);
            drawn_[row].clear();
            ++lastCompiled_;
            glCallList(list);
        } else {
            MapRenderer::DrawRow(grid, z, renderMode, style);
            drawn_[row].swap(scratch_);
            ++lastImmediate_;
        }
    }
}

void MapPassLists::Release() {
    if (base_ != 0) {
        glDeleteLists(base_, rows_);
    }
    base_ = 0;
    rows_ = 0;
    listed_.clear();
    drawn_.clear();
}

}  // namespace zandrel::view3d
