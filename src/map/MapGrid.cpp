#include "map/MapGrid.h"

#include <algorithm>
#include <bit>

namespace zandrel::map {

namespace {

using Vec3 = std::array<float, 3>;

Vec3 Cross(const Vec3& u, const Vec3& v) {
    return {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
}

// (b - a) x (d - a): the unnormalised normal of triangle a, b, d.
Vec3 TriangleNormal(const Vec3& a, const Vec3& b, const Vec3& d) {
    return Cross({b[0] - a[0], b[1] - a[1], b[2] - a[2]}, {d[0] - a[0], d[1] - a[1], d[2] - a[2]});
}

bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameCell(const MapCell& a, const MapCell& b) {
    return Same(a.NE, b.NE) && Same(a.NO, b.NO) && Same(a.SE, b.SE) && Same(a.SO, b.SO) &&
           Same(a.C, b.C) && a.typet == b.typet && a.typew == b.typew && a.goal == b.goal &&
           Same(a.grav, b.grav) && Same(a.artr, b.artr);
}

bool SamePlace(const CellRect& a, const CellRect& b) {
    return a.x0 == b.x0 && a.z0 == b.z0 && a.x1 == b.x1 && a.z1 == b.z1;
}

}  // namespace

MapGrid::MapGrid() : cells{}, textureIds{}, normals{} {}

MapGrid::MapGrid(std::int32_t sizeX, std::int32_t sizeZ) : MapGrid() {
    SizeX = sizeX;
    SizeZ = sizeZ;
    hasContent = true;
    textures[0].Assign("tile.jpg");
    textures[1].Assign("wall.jpg");
    textures[2].Assign("enemy.jpg");
    Enemys_Tex = 2;
    for (std::int32_t x = 0; x < SizeX; ++x) {
        for (std::int32_t z = 0; z < SizeZ; ++z) {
            MapCell& cell = cells[x][z];
            cell = MapCell{};
            cell.typet = 0;
            cell.typew = 1;
            cell.goal = 0;
            cell.grav = -160.0;
            cell.artr = 7.0;
        }
    }
    numtex = 3;
    ComputeNormals();
}

void MapGrid::RaiseCell(std::int32_t x, std::int32_t z, double dh) {
    MapCell& cell = cells[x][z];
    cell.NE += dh;
    cell.NO += dh;
    cell.SE += dh;
    cell.SO += dh;
    cell.C += dh;
}

void MapGrid::SetCellHeight(std::int32_t x, std::int32_t z, double h) {
    MapCell& cell = cells[x][z];
    cell.NE = h;
    cell.NO = h;
    cell.SE = h;
    cell.SO = h;
    cell.C = h;
}

void MapGrid::SetSelection(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1) {
    selection.Set(x0, z0, x1, z1);
}

void MapGrid::ComputeNormals() {
    for (std::int32_t x = 0; x < SizeX; ++x) {
        for (std::int32_t z = 0; z < SizeZ; ++z) {
            const MapCell& cell = cells[x][z];
            // The cell's own frame: x grows to the west, z to the south, centre at the origin.
            const Vec3 ne{-1.0f, static_cast<float>(cell.NE), -1.0f};
            const Vec3 no{1.0f, static_cast<float>(cell.NO), -1.0f};
            const Vec3 se{-1.0f, static_cast<float>(cell.SE), 1.0f};
            const Vec3 so{1.0f, static_cast<float>(cell.SO), 1.0f};
            const Vec3 c{0.0f, static_cast<float>(cell.C), 0.0f};
            CellNormals& n = normals[x][z];
            n[0] = TriangleNormal(ne, c, no);
            n[1] = TriangleNormal(c, se, so);
            const Vec3 west = TriangleNormal(ne, c, se);
            n[2] = {-west[0], -west[1], -west[2]};
            n[3] = TriangleNormal(no, c, so);
        }
    }
}

void MapGrid::SaveTo(MapGrid& target) {
    for (std::int32_t x = 0; x < SizeX; ++x) {
        for (std::int32_t z = 0; z < SizeZ; ++z) {
            const MapCell& from = cells[x][z];
            MapCell& to = target.cells[x][z];
            to.NE = from.NE;
            to.NO = from.NO;
            to.SE = from.SE;
            to.SO = from.SO;
            to.C = from.C;
        }
    }
    target.SizeX = SizeX;
    target.SizeZ = SizeZ;
    target.hasContent = true;
    target.wholeSnapshot = false;
    hasContent = false;
}

bool MapGrid::SameContent(const MapGrid& other) const {
    if (SizeX != other.SizeX || SizeZ != other.SizeZ || numtex != other.numtex ||
        Enemys_Tex != other.Enemys_Tex || !SamePlace(start, other.start)) {
        return false;
    }
    for (std::int32_t k = 0; k < kEnemySlotCount; ++k) {
        if (!SamePlace(enemies[k], other.enemies[k])) {
            return false;
        }
    }
    for (std::int32_t i = 0; i < std::min(numtex, kMaxTextureSlots); ++i) {
        if (!(textures[i] == other.textures[i])) {
            return false;
        }
    }
    for (std::int32_t x = 0; x < std::min(SizeX, kMaxMapSize); ++x) {
        for (std::int32_t z = 0; z < std::min(SizeZ, kMaxMapSize); ++z) {
            if (!SameCell(cells[x][z], other.cells[x][z])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace zandrel::map
