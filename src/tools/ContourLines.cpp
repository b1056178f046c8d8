#include "tools/ContourLines.h"

#include <algorithm>
#include <cmath>

#include "map/MapGrid.h"

namespace zandrel::tools {

namespace {

using Point = std::array<double, 3>;

// Heights beyond this are no terrain anyone draws contours on; it also keeps levels in range
// of an int32.
constexpr double kHeightLimit = 1.0e6;

Point Crossing(const Point& above, const Point& below, double level) {
    const double t = (level - below[1]) / (above[1] - below[1]);
    return {below[0] + t * (above[0] - below[0]), level, below[2] + t * (above[2] - below[2])};
}

void AppendTriangle(const std::array<Point, 3>& p, std::vector<ContourSegment>& out) {
    double low = p[0][1];
    double high = p[0][1];
    for (const Point& v : p) {
        if (!std::isfinite(v[1]) || std::fabs(v[1]) > kHeightLimit) {
            return;
        }
        low = std::min(low, v[1]);
        high = std::max(high, v[1]);
    }
    // Levels with low < level <= high cut the triangle.
    const double first = std::floor(low) + 1.0;
    const double last = std::floor(high);
    if (last - first + 1.0 > kMaxContourLevels) {
        return;
    }
    for (double level = first; level <= last; level += 1.0) {
        Point ends[2];
        int found = 0;
        for (int i = 0; i < 3; ++i) {
            const Point& u = p[i];
            const Point& v = p[(i + 1) % 3];
            const bool uAbove = u[1] >= level;
            const bool vAbove = v[1] >= level;
            if (uAbove != vAbove && found < 2) {
                ends[found++] = uAbove ? Crossing(u, v, level) : Crossing(v, u, level);
            }
        }
        if (found == 2 && ends[0] != ends[1]) {
            out.push_back({ends[0], ends[1], static_cast<std::int32_t>(level)});
        }
    }
}

}  // namespace

void AppendCellContours(const map::MapGrid& grid, std::int32_t x, std::int32_t z,
                        std::vector<ContourSegment>& out) {
    const map::MapCell& cell = grid.Cell(x, z);
    const double fx = x;
    const double fz = z;
    const Point ne{fx, cell.NE, fz};
    const Point no{fx + 1.0, cell.NO, fz};
    const Point se{fx, cell.SE, fz + 1.0};
    const Point so{fx + 1.0, cell.SO, fz + 1.0};
    const Point centre{fx + 0.5, cell.C, fz + 0.5};
    // The four triangles the map pass draws, in its order.
    AppendTriangle({se, centre, so}, out);
    AppendTriangle({ne, centre, se}, out);
    AppendTriangle({no, centre, so}, out);
    AppendTriangle({no, centre, ne}, out);
}

std::vector<ContourSegment> ContourSegments(const map::MapGrid& grid) {
    std::vector<ContourSegment> out;
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        for (std::int32_t x = 0; x < sizeX; ++x) {
            AppendCellContours(grid, x, z, out);
        }
    }
    return out;
}

}  // namespace zandrel::tools
