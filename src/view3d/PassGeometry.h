#pragma once

#include <array>
#include <cstdint>

#include "tools/ColourRamp.h"
#include "view3d/RenderMode.h"
#include "view3d/ViewModes.h"

namespace zandrel::map {
class MapGrid;
struct MapCell;
}  // namespace zandrel::map

namespace zandrel::view3d {

// What the map pass sends for a cell, as numbers and without GL: the immediate pass issues it
// call by call and the batched pass gathers it into arrays, so both draw the same values.
class PassGeometry {
public:
    // Which edge of a cell a wall stands on; the value is the wall's side code.
    enum WallSide : std::int32_t {
        kSouth = 13,   // edge at z + 1
        kNorth = -13,  // edge at z
        kEast = 80,    // edge at x
        kWest = -80,   // edge at x + 1
    };
    // In the order a cell draws its walls.
    static constexpr std::array<WallSide, 4> kSides = {kSouth, kNorth, kEast, kWest};

    struct Point {
        float x;
        float y;
        float z;
    };
    using Rgb = tools::Rgb;

    // A tile's five points, in this order.
    enum Corner : std::uint8_t { kNE, kNO, kSE, kSO, kCentre };
    using TilePoints = std::array<Point, 5>;
    // One vertex of the tile's fan of four triangles: which point, and its texture coordinates.
    struct FanVertex {
        Corner corner;
        float s;
        float t;
    };
    // Three vertices per triangle; triangle k takes normal kFanNormals[k] of the cell's normals.
    static constexpr std::array<FanVertex, 12> kFan = {{{kSE, 1.0f, 1.0f},
                                                        {kCentre, 0.5f, 0.5f},
                                                        {kSO, 0.0f, 1.0f},
                                                        {kNE, 1.0f, 0.0f},
                                                        {kCentre, 0.5f, 0.5f},
                                                        {kSE, 1.0f, 1.0f},
                                                        {kNO, 0.0f, 0.0f},
                                                        {kCentre, 0.5f, 0.5f},
                                                        {kSO, 0.0f, 1.0f},
                                                        {kNO, 0.0f, 0.0f},
                                                        {kCentre, 0.5f, 0.5f},
                                                        {kNE, 1.0f, 0.0f}}};
    static constexpr std::array<std::size_t, 4> kFanNormals = {1, 2, 3, 0};

    // A wall's quadrilateral: v[0] and v[1] the cell's own corners on the edge, v[2] below v[1]
    // and v[3] below v[0] on the neighbour's edge (height 0 past the map's border).
    struct Wall {
        std::array<Point, 4> v{};
        std::array<float, 3> normal{};
        // False for an unknown side and when the neighbour's edge is higher on average.
        bool drawn = false;
        // Also drawn from the other side: the neighbour's edge is as high on average.
        bool twin = false;
        // Texture coordinates of v[0] to v[3]: once across, once per unit of height down.
        std::array<float, 2> TexCoord(std::size_t i) const;
    };

    static TilePoints Tile(const map::MapGrid& grid, std::int32_t x, std::int32_t z);
    static Wall WallOn(const map::MapGrid& grid, std::int32_t x, std::int32_t z, std::int32_t side);
    // Whether the cell considers a wall on side: its edge there differs from its neighbour's
    // (exact comparison), or the side is on the map's border.
    static bool ConsidersWall(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                              WallSide side);

    // The tile's colour before any tint: selection and goal shade, and in solid mode the start
    // cell's own.
    static Rgb TileColour(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                          RenderMode renderMode);
    static Rgb WallColour(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                          RenderMode renderMode);
    // Whether a solid tile's vertices take the tint's ramp colours instead of TileColour.
    static bool Tinted(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                       const PassStyle& style);
    // A tinted vertex: the ramp colour of the point's height, or of the cell's gravity or
    // friction, darkened by the goal shade (none on the start cell).
    static Rgb TintColour(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                          const Point& point, const PassStyle& style);

    // Texture object of slot index, or 0 when the index is not a slot.
    static std::uint32_t SlotTexture(const map::MapGrid& grid, std::int32_t index);
};

}  // namespace zandrel::view3d
