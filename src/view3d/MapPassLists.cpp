#include "view3d/MapPassLists.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "map/MapGrid.h"
#include "view3d/MapOverlays.h"
#include "view3d/MapRenderer.h"

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

void MapPassLists::Draw(const map::MapGrid& grid, RenderMode renderMode, const PassStyle& style,
                        const ViewVolume* volume) {
    glMatrixMode(GL_MODELVIEW);
    lastCompiled_ = 0;
    lastImmediate_ = 0;
    lastCulled_ = 0;
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    if (sizeZ < 1) {
        return;
    }
    if (renderMode != RenderMode::Solid) {
        MapRenderer::Draw(grid, renderMode);
        return;
    }
    if (base_ == 0) {
        base_ = glGenLists(map::kMaxMapSize * kListsPerRow);
        if (base_ == 0) {
            // No lists to be had: the immediate pass draws the same image.
            MapRenderer::Draw(grid, renderMode, style);
            return;
        }
        rows_ = map::kMaxMapSize;
        listed_.assign(static_cast<std::size_t>(rows_), {});
        drawn_.assign(static_cast<std::size_t>(rows_), {});
    }
    const std::int32_t chunks = (sizeX + kChunkCells - 1) / kChunkCells;
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        // Everything of the last row is drawn: the state the pass leaves behind is its own.
        const bool keepAll = volume == nullptr || z + 1 == sizeZ;
        if (!keepAll && !volume->MayShowCells(grid, z, 0, sizeX - 1)) {
            lastCulled_ += chunks;
            continue;
        }
        std::array<bool, kChunksPerRow> shown{};
        for (std::int32_t c = 0; c < chunks; ++c) {
            const std::int32_t x0 = c * kChunkCells;
            const std::int32_t x1 = std::min(x0 + kChunkCells, sizeX) - 1;
            shown[static_cast<std::size_t>(c)] = keepAll || volume->MayShowCells(grid, z, x0, x1);
            lastCulled_ += shown[static_cast<std::size_t>(c)] ? 0 : 1;
        }
        Signature(grid, z, renderMode, style, scratch_);
        const auto row = static_cast<std::size_t>(z);
        const GLuint first = base_ + static_cast<GLuint>(z * kListsPerRow);
        const GLuint lines = first + kChunksPerRow;
        if (listed_[row] != scratch_ && drawn_[row] != scratch_) {
            for (std::int32_t c = 0; c < chunks; ++c) {
                if (shown[static_cast<std::size_t>(c)]) {
                    const std::int32_t x0 = c * kChunkCells;
                    MapRenderer::DrawCells(grid, z, x0, std::min(x0 + kChunkCells, sizeX) - 1,
                                           renderMode, style);
                }
            }
            MapOverlays::DrawRowLines(grid, z, style.modes);
            drawn_[row].swap(scratch_);
            ++lastImmediate_;
            continue;
        }
        if (listed_[row] != scratch_) {
            for (std::int32_t c = 0; c < chunks; ++c) {
                const std::int32_t x0 = c * kChunkCells;
                glNewList(first + static_cast<GLuint>(c), GL_COMPILE);
                MapRenderer::DrawCells(grid, z, x0, std::min(x0 + kChunkCells, sizeX) - 1,
                                       renderMode, style);
                glEndList();
            }
            glNewList(lines, GL_COMPILE);
            MapOverlays::DrawRowLines(grid, z, style.modes);
            glEndList();
            listed_[row].swap(scratch_);
            ++lastCompiled_;
        }
        for (std::int32_t c = 0; c < chunks; ++c) {
            if (shown[static_cast<std::size_t>(c)]) {
                glCallList(first + static_cast<GLuint>(c));
            }
        }
        glCallList(lines);
        drawn_[row].clear();
    }
}

void MapPassLists::Release() {
    if (base_ != 0) {
        glDeleteLists(base_, rows_ * kListsPerRow);
    }
    base_ = 0;
    rows_ = 0;
    listed_.clear();
    drawn_.clear();
}

}  // namespace zandrel::view3d
