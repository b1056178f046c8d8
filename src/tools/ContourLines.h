#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::tools {

// One piece of a contour line: where the surface of one triangle crosses a whole height.
struct ContourSegment {
    std::array<double, 3> a{};
    std::array<double, 3> b{};
    std::int32_t level = 0;

    bool operator==(const ContourSegment&) const = default;
    // Every fifth level is drawn stronger, as on a printed map.
    bool IsIndexLevel() const { return level % 5 == 0; }
};

// Contour segments of cell (x, z): its four triangles (each edge corner and the centre) cut at
// every whole height they span. A corner exactly on a level counts as above it, so an edge lying
// on a level is drawn once, by the triangle below it, and a flat triangle draws nothing.
// Triangles with a height that is not finite, or spanning more than kMaxLevels levels, add nothing.
void AppendCellContours(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                        std::vector<ContourSegment>& out);

// The contour segments of every cell in use, row by row.
std::vector<ContourSegment> ContourSegments(const map::MapGrid& grid);

inline constexpr double kMaxContourLevels = 256.0;

}  // namespace zandrel::tools
