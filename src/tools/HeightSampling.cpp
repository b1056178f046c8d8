#include "tools/HeightSampling.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zandrel::tools {

namespace {

using map::MapCell;
using map::MapGrid;

// The position resolved to one cell: its indices and the local fractions inside it.
struct LocalPoint {
    std::int32_t i = 0;
    std::int32_t j = 0;
    double fx = 0.0;
    double fz = 0.0;
};

// Sizes as the storage can hold them, so a grid with corrupt sizes is never indexed outside.
std::int32_t UsedSize(std::int32_t size) {
    return std::min(size, map::kMaxMapSize);
}

// Truncation toward zero maps x to cell index 0..SizeX-1 exactly when -1 < x < SizeX; testing
// that on the double first keeps NaN and huge values away from the integer conversion.
bool Resolve(const MapGrid& grid, double x, double z, LocalPoint& point) {
    if (!(x > -1.0 && x < UsedSize(grid.SizeX) && z > -1.0 && z < UsedSize(grid.SizeZ))) {
        return false;
    }
    point.i = static_cast<std::int32_t>(x);
    point.j = static_cast<std::int32_t>(z);
    point.fx = x - point.i;
    point.fz = z - point.j;
    return true;
}

double Square(double v) {
    return v * v;
}

double DistanceToCentre(const LocalPoint& p) {
    return std::sqrt(Square(p.fz - 0.5) + Square(p.fx - 0.5));
}

// Corner A of the triangle holding the point (NE on the anti-diagonal's near side, else SO).
bool NearSideOfAntiDiagonal(const LocalPoint& p) {
    return p.fz <= 1 - p.fx;
}

double DistanceToA(const LocalPoint& p) {
    return NearSideOfAntiDiagonal(p) ? std::sqrt(Square(p.fz) + Square(p.fx))
                                     : std::sqrt(Square(1 - p.fz) + Square(1 - p.fx));
}

// Corner B of the triangle (NO on the main diagonal's near side, else SE).
bool NearSideOfMainDiagonal(const LocalPoint& p) {
    return p.fz <= p.fx;
}

}  // namespace

double sampleHeight(const MapGrid& grid, double x, double z) {
    if (x < 0.0 || z < 0.0) {
        return OUTSIDE_HEIGHT;
    }
    LocalPoint p;
    if (!Resolve(grid, x, z, p)) {
        return OUTSIDE_HEIGHT;
    }
    const MapCell& cell = grid.Cell(p.i, p.j);
    const double dc = DistanceToCentre(p);
    const double heightA = NearSideOfAntiDiagonal(p) ? cell.NE : cell.SO;
    const double dA = DistanceToA(p);
    const double heightB = NearSideOfMainDiagonal(p) ? cell.NO : cell.SE;
    const double w = dc / std::sqrt(Square(0.5) + Square(0.5));
    return (1 - w) * cell.C + w * ((1 - dA) * heightA + dA * heightB);
}

void setNearestVertex(MapGrid& grid, double x, double z, double h) {
    LocalPoint p;
    if (!Resolve(grid, x, z, p)) {
        return;
    }
    MapCell& cell = grid.Cell(p.i, p.j);
    const double dc = DistanceToCentre(p);
    double& cornerA = NearSideOfAntiDiagonal(p) ? cell.NE : cell.SO;
    const double dA = DistanceToA(p);
    const bool bIsNO = NearSideOfMainDiagonal(p);
    double& cornerB = bIsNO ? cell.NO : cell.SE;
    const double dB = bIsNO ? std::sqrt(Square(1 - p.fx) + Square(p.fz))
                            : std::sqrt(Square(1 - p.fz) + Square(p.fx));
    if (dc < dA && dc < dB) {
        cell.C = h;
        return;
    }
    if (dA < dB) {
        cornerA = h;
    } else {
        cornerB = h;
    }
    const double lowest = std::min({cell.NE, cell.NO, cell.SE, cell.SO});
    const double highest = std::max({cell.NE, cell.NO, cell.SE, cell.SO});
    cell.C = (lowest + highest) / 2;
}

bool lineOfSightClear(const MapGrid& grid, float ax, float ay, float az, float bx, float by,
                      float bz) {
    const float length = std::sqrt((bx - ax) * (bx - ax) + (bz - az) * (bz - az));
    // 2^24: beyond it float steps no longer count one by one, and the grid is 50 units wide.
    if (!(length < 16777216.0f)) {
        return false;
    }
    const auto n = static_cast<std::int32_t>(length);
    if (n == 0) {
        return true;
    }
    const auto N = static_cast<float>(n);
    for (std::int32_t k = 0; k <= n; ++k) {
        const auto m = static_cast<float>(n - k);
        const auto kf = static_cast<float>(k);
        const float px = (m * ax + kf * bx) / N;
        const float py = (m * ay + kf * by) / N;
        const float pz = (m * az + kf * bz) / N;
        const float west = ((ax - 1) * m + bx * kf) / N;
        const float east = ((ax + 1) * m + bx * kf) / N;
        const float north = ((az - 1) * m + bz * kf) / N;
        const float south = ((az + 1) * m + bz * kf) / N;
        const double probes[5][2] = {{px, pz}, {west, pz}, {east, pz}, {px, north}, {px, south}};
        for (const auto& probe : probes) {
            if (py < sampleHeight(grid, probe[0], probe[1])) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace zandrel::tools
