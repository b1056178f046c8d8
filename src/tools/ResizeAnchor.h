#pragma once

namespace zandrel::tools {

// Which corner or edge of the map keeps its cells where they are when the map changes size, in
// the map's own compass (x grows to the west, O, and z to the south, S): NorthEast keeps cell
// (0, 0) in place, SouthWest the cell at the far x and far z, Centre the middle.
enum class ResizeAnchor {
    NorthEast,
    North,
    NorthWest,
    East,
    Centre,
    West,
    SouthEast,
    South,
    SouthWest,
};

}  // namespace zandrel::tools
