#include "view3d/PickWindow.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "map/MapGrid.h"

namespace zandrel::view3d {

namespace {

// Rasterising and clipping round to the pixel; a pixel of slack keeps the test conservative.
constexpr double kSlackPixels = 1.0;
// Corners this close to the eye plane project to nowhere useful.
constexpr double kMinClipW = 1e-6;

// Vertical extent of everything drawn under a cell's name: its tile's five heights and the far
// edges its walls reach down (or up) to, which are the facing corners of its four neighbours,
// or height 0 at the map's border. Heights pass through float as the map pass draws them.
struct HeightRange {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    bool finite = true;

    void Add(double height) {
        const auto drawn = static_cast<double>(static_cast<float>(height));
        if (!std::isfinite(drawn)) {
            finite = false;
            return;
        }
        low = std::min(low, drawn);
        high = std::max(high, drawn);
    }
};

HeightRange CellHeights(const map::MapGrid& grid, std::int32_t x, std::int32_t z) {
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    const map::MapCell& cell = grid.Cell(x, z);
    HeightRange range;
    for (const double h : {cell.NE, cell.NO, cell.SE, cell.SO, cell.C}) {
        range.Add(h);
    }
    // The neighbour's corners on the shared edge, which the wall on that side reaches.
    const auto addEdge = [&](bool has, std::int32_t nx, std::int32_t nz,
                             double map::MapCell::*first, double map::MapCell::*second) {
        range.Add(has ? grid.Cell(nx, nz).*first : 0.0);
        range.Add(has ? grid.Cell(nx, nz).*second : 0.0);
    };
    addEdge(z + 1 < sizeZ, x, z + 1, &map::MapCell::NE, &map::MapCell::NO);
    addEdge(z - 1 >= 0, x, z - 1, &map::MapCell::SE, &map::MapCell::SO);
    addEdge(x - 1 >= 0, x - 1, z, &map::MapCell::SO, &map::MapCell::NO);
    addEdge(x + 1 < sizeX, x + 1, z, &map::MapCell::SE, &map::MapCell::NE);
    return range;
}

}  // namespace

PickWindow::PickWindow(const FrameTransform& frame, double x, double y, double region)
    : projection_(frame.projection) {
    std::copy(frame.viewport.begin(), frame.viewport.end(), viewport_.begin());
    // Window y counts from the bottom, as gluPickMatrix takes it.
    const double windowY = viewport_[3] - y;
    const double half = region * 0.5 + kSlackPixels;
    left_ = x - half;
    right_ = x + half;
    bottom_ = windowY - half;
    top_ = windowY + half;
    usable_ = frame.valid && viewport_[2] > 0 && viewport_[3] > 0 && region > 0.0 &&
              std::isfinite(left_) && std::isfinite(right_) && std::isfinite(bottom_) &&
              std::isfinite(top_);
}

bool PickWindow::MayHit(const map::MapGrid& grid, std::int32_t x, std::int32_t z) const {
    if (!usable_) {
        return true;
    }
    const HeightRange heights = CellHeights(grid, x, z);
    if (!heights.finite) {
        return true;
    }
    const auto& p = projection_;
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -minX;
    double minY = minX;
    double maxY = -minX;
    for (int corner = 0; corner < 8; ++corner) {
        const double wx = x + ((corner & 1) != 0 ? 1.0 : 0.0);
        const double wy = (corner & 2) != 0 ? heights.high : heights.low;
        const double wz = z + ((corner & 4) != 0 ? 1.0 : 0.0);
        // Column-major, as OpenGL stores it; the model-view of the map pass is the identity.
        const double cx = p[0] * wx + p[4] * wy + p[8] * wz + p[12];
        const double cy = p[1] * wx + p[5] * wy + p[9] * wz + p[13];
        const double cw = p[3] * wx + p[7] * wy + p[11] * wz + p[15];
        if (!(cw > kMinClipW)) {
            return true;
        }
        const double sx = viewport_[0] + (cx / cw + 1.0) * 0.5 * viewport_[2];
        const double sy = viewport_[1] + (cy / cw + 1.0) * 0.5 * viewport_[3];
        if (!std::isfinite(sx) || !std::isfinite(sy)) {
            return true;
        }
        minX = std::min(minX, sx);
        maxX = std::max(maxX, sx);
        minY = std::min(minY, sy);
        maxY = std::max(maxY, sy);
    }
    return maxX >= left_ && minX <= right_ && maxY >= bottom_ && minY <= top_;
}

}  // namespace zandrel::view3d
