#include "view3d/PassGeometry.h"

#include <algorithm>

#include "map/MapGrid.h"

namespace zandrel::view3d {

namespace {

double GoalShade(const map::MapCell& cell) {
    return cell.goal == 1 ? 0.2 : 0.0;
}

}  // namespace

std::array<float, 2> PassGeometry::Wall::TexCoord(std::size_t i) const {
    switch (i) {
        case 0:
            return {1.0f, 0.0f};
        case 1:
            return {0.0f, 0.0f};
        case 2:
            return {0.0f, v[2].y - v[1].y};
        default:
            return {1.0f, v[3].y - v[0].y};
    }
}

PassGeometry::TilePoints PassGeometry::Tile(const map::MapGrid& grid, std::int32_t x,
                                            std::int32_t z) {
    const map::MapCell& cell = grid.Cell(x, z);
    const auto fx = static_cast<float>(x);
    const auto fz = static_cast<float>(z);
    return {{{fx, static_cast<float>(cell.NE), fz},
             {fx + 1.0f, static_cast<float>(cell.NO), fz},
             {fx, static_cast<float>(cell.SE), fz + 1.0f},
             {fx + 1.0f, static_cast<float>(cell.SO), fz + 1.0f},
             {fx + 0.5f, static_cast<float>(cell.C), fz + 0.5f}}};
}

PassGeometry::Wall PassGeometry::WallOn(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                                        std::int32_t side) {
    const map::MapCell& cell = grid.Cell(x, z);
    const auto fx = static_cast<float>(x);
    const auto fz = static_cast<float>(z);
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    const auto far = [&](bool has, std::int32_t nx, std::int32_t nz, double map::MapCell::*h) {
        return has ? static_cast<float>(grid.Cell(nx, nz).*h) : 0.0f;
    };
    Wall wall;
    auto& v = wall.v;
    switch (side) {
        case kSouth: {
            const bool has = z + 1 < sizeZ;
            v[0] = {fx, static_cast<float>(cell.SE), fz + 1.0f};
            v[1] = {fx + 1.0f, static_cast<float>(cell.SO), fz + 1.0f};
            v[2] = {fx + 1.0f, far(has, x, z + 1, &map::MapCell::NO), fz + 1.0f};
            v[3] = {fx, far(has, x, z + 1, &map::MapCell::NE), fz + 1.0f};
            wall.normal = {0.0f, 0.0f, 1.0f};
            wall.twin = has;
            break;
        }
        case kNorth: {
            const bool has = z - 1 >= 0;
            v[0] = {fx, static_cast<float>(cell.NE), fz};
            v[1] = {fx + 1.0f, static_cast<float>(cell.NO), fz};
            v[2] = {fx + 1.0f, far(has, x, z - 1, &map::MapCell::SO), fz};
            v[3] = {fx, far(has, x, z - 1, &map::MapCell::SE), fz};
            wall.normal = {0.0f, 0.0f, -1.0f};
            wall.twin = has;
            break;
        }
        case kEast: {
            const bool has = x - 1 >= 0;
            v[0] = {fx, static_cast<float>(cell.NE), fz};
            v[1] = {fx, static_cast<float>(cell.SE), fz + 1.0f};
            v[2] = {fx, far(has, x - 1, z, &map::MapCell::SO), fz + 1.0f};
            v[3] = {fx, far(has, x - 1, z, &map::MapCell::NO), fz};
            wall.normal = {-1.0f, 0.0f, 0.0f};
            wall.twin = has;
            break;
        }
        case kWest: {
            const bool has = x + 1 < sizeX;
            v[0] = {fx + 1.0f, static_cast<float>(cell.NO), fz};
            v[1] = {fx + 1.0f, static_cast<float>(cell.SO), fz + 1.0f};
            v[2] = {fx + 1.0f, far(has, x + 1, z, &map::MapCell::SE), fz + 1.0f};
            v[3] = {fx + 1.0f, far(has, x + 1, z, &map::MapCell::NE), fz};
            wall.normal = {1.0f, 0.0f, 0.0f};
            wall.twin = has;
            break;
        }
        default:
            return wall;
    }
    // The higher edge on average draws the wall; the neighbour's own wall on this edge is the
    // same quadrilateral from its side, drawn unless this edge is the higher one.
    const float own = (v[0].y + v[1].y) * 0.5f;
    const float facing = (v[2].y + v[3].y) * 0.5f;
    wall.drawn = !(facing > own);
    wall.twin = wall.twin && wall.drawn && !(own > facing);
    return wall;
}

bool PassGeometry::ConsidersWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                                 WallSide side) {
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    const map::MapCell& cell = grid.Cell(x, z);
    // Exact comparisons: neighbours share an edge only when both corners agree.
    switch (side) {
        case kSouth:
            return !(z + 1 < sizeZ && cell.SE == grid.Cell(x, z + 1).NE &&
                     cell.SO == grid.Cell(x, z + 1).NO);
        case kNorth:
            return !(z - 1 >= 0 && cell.NO == grid.Cell(x, z - 1).SO &&
                     cell.NE == grid.Cell(x, z - 1).SE);
        case kEast:
            return !(x - 1 >= 0 && cell.NE == grid.Cell(x - 1, z).NO &&
                     cell.SE == grid.Cell(x - 1, z).SO);
        case kWest:
            return !(x + 1 < sizeX && cell.SO == grid.Cell(x + 1, z).SE &&
                     cell.NO == grid.Cell(x + 1, z).NE);
    }
    return false;
}

PassGeometry::Rgb PassGeometry::TileColour(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                                           RenderMode renderMode) {
    const bool selected = grid.selection.Contains(x, z);
    if (renderMode == RenderMode::Solid && grid.start.Contains(x, z)) {
        return selected ? Rgb{0.4f, 0.5f, 0.7f} : Rgb{1.0f, 1.0f, 1.0f};
    }
    // In double, then to float, as the shade has always been applied.
    const double shade = GoalShade(grid.Cell(x, z));
    if (selected) {
        return {static_cast<float>(0.4 - shade), static_cast<float>(0.5 - shade),
                static_cast<float>(0.7 - shade)};
    }
    const auto grey = static_cast<float>(1.0 - shade);
    return {grey, grey, grey};
}

PassGeometry::Rgb PassGeometry::WallColour(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                                           RenderMode renderMode) {
    if (!grid.selection.Contains(x, z)) {
        return {1.0f, 1.0f, 1.0f};
    }
    return renderMode == RenderMode::Wireframe ? Rgb{0.0f, 0.0f, 1.0f} : Rgb{0.4f, 0.5f, 0.7f};
}

bool PassGeometry::Tinted(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                          const PassStyle& style) {
    return style.modes.tint != TintMode::Off && !grid.selection.Contains(x, z);
}

PassGeometry::Rgb PassGeometry::TintColour(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                                           const Point& point, const PassStyle& style) {
    const map::MapCell& cell = grid.Cell(x, z);
    const double shade = grid.start.Contains(x, z) ? 0.0 : GoalShade(cell);
    const auto dim = static_cast<float>(1.0 - shade);
    // Per corner for height, so that slopes shade smoothly; one colour per cell otherwise.
    double value = point.y;
    if (style.modes.tint == TintMode::Gravity) {
        value = tools::CellValue(cell, tools::CellField::Gravity);
    } else if (style.modes.tint == TintMode::Friction) {
        value = tools::CellValue(cell, tools::CellField::Friction);
    }
    const Rgb rgb = tools::RampColour(tools::RampPosition(value, style.tintRange));
    return {rgb[0] * dim, rgb[1] * dim, rgb[2] * dim};
}

std::uint32_t PassGeometry::SlotTexture(const map::MapGrid& grid, std::int32_t index) {
    if (index < 0 || index >= map::kMaxTextureSlots) {
        return 0;
    }
    return grid.textureIds[static_cast<std::size_t>(index)];
}

}  // namespace zandrel::view3d
