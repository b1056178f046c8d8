#include "tools/SelectionFigures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace zandrel::tools {

namespace {

// The corners' height difference over the cell side of 1, as an angle.
double SlopeDegrees(double a, double b) {
    return std::atan(std::fabs(a - b)) * 180.0 / std::numbers::pi;
}

}  // namespace

SelectionFigures FiguresOf(const map::MapGrid& map, const map::CellRect& selection) {
    SelectionFigures figures;
    const std::int32_t firstX = std::max(std::min(selection.x0, selection.x1), 0);
    const std::int32_t lastX =
        std::min({std::max(selection.x0, selection.x1), map.SizeX - 1, map::kMaxMapSize - 1});
    const std::int32_t firstZ = std::max(std::min(selection.z0, selection.z1), 0);
    const std::int32_t lastZ =
        std::min({std::max(selection.z0, selection.z1), map.SizeZ - 1, map::kMaxMapSize - 1});
    double sum = 0.0;
    std::int64_t count = 0;
    for (std::int32_t x = firstX; x <= lastX; ++x) {
        for (std::int32_t z = firstZ; z <= lastZ; ++z) {
            const map::MapCell& cell = map.Cell(x, z);
            for (const double h : {cell.NE, cell.NO, cell.SE, cell.SO}) {
                if (!std::isfinite(h)) {
                    continue;
                }
                figures.lowest = count == 0 ? h : std::min(figures.lowest, h);
                figures.highest = count == 0 ? h : std::max(figures.highest, h);
                sum += h;
                ++count;
            }
            // The four edges of the cell; a NaN difference is not finite and is left out.
            const std::array<std::array<double, 2>, 4> edges = {
                {{cell.NE, cell.NO}, {cell.SE, cell.SO}, {cell.NE, cell.SE}, {cell.NO, cell.SO}}};
            for (const auto& [a, b] : edges) {
                if (std::isfinite(a - b)) {
                    figures.steepestDegrees = std::max(figures.steepestDegrees, SlopeDegrees(a, b));
                }
            }
        }
    }
    figures.any = count > 0;
    figures.mean = count > 0 ? sum / static_cast<double>(count) : 0.0;
    return figures;
}

}  // namespace zandrel::tools
