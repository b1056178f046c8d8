#include "view3d/PickWindow.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "map/MapGrid.h"
#include "view3d/DrawnHeights.h"

namespace zandrel::view3d {

namespace {

// Rasterising and clipping round to the pixel; a pixel of slack keeps the test conservative.
constexpr double kSlackPixels = 1.0;
// Corners this close to the eye plane project to nowhere useful.
constexpr double kMinClipW = 1e-6;

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
    DrawnHeights heights;
    heights.AddCell(grid, x, z);
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
