#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "view3d/RenderMode.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// The sphere that marks a placed enemy. The slots are the map's plain data; the view finds each
// marker's centre from its slot every frame and draws it with the texture set's enemy texture.
class EnemyMarker {
public:
    using Centre = std::array<float, 3>;

    // Centre of the marker of enemy slot index: half a cell above and inside the slot's cell.
    // None for an empty slot, one naming a cell outside the map, or an index past the slots.
    static std::optional<Centre> CentreOf(const map::MapGrid& grid, std::size_t index);

    // Draws the wire sphere of a marker at the origin: radius, slices, stacks.
    using WireSphere = void (*)(double radius, int slices, int stacks);

    // Draws a marker at centre with the current colour: a wire sphere by wire in wireframe, a
    // textured one in solid mode.
    static void Draw(const Centre& centre, std::uint32_t texture, RenderMode mode, WireSphere wire);
};

}  // namespace zandrel::view3d
