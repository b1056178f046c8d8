#pragma once

#include <cstdint>

namespace zandrel::map {

// One terrain cell. Corners are Italian compass names (O = ovest, west); in world space the
// corners of cell [x][z] stand at NE (x, z), NO (x + 1, z), SE (x, z + 1), SO (x + 1, z + 1)
// and the centre at (x + 0.5, z + 0.5). Every cell owns its corners: neighbours agree only
// where an edit makes them agree.
struct MapCell {
    double NE = 0.0;
    double NO = 0.0;
    double SE = 0.0;
    double SO = 0.0;
    double C = 0.0;
    // Texture slot indices, kept as read from a file: a value outside 0..49 must be treated as
    // texture 0 by whoever looks it up.
    std::int32_t typet = 0;
    std::int32_t typew = 0;
    std::int32_t goal = 0;  // 0 or 1 when set by the editor; files may hold other values
    double grav = 0.0;
    double artr = 0.0;  // friction

    bool operator==(const MapCell&) const = default;
};

}  // namespace zandrel::map
