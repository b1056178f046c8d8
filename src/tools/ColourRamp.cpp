#include "tools/ColourRamp.h"

#include <algorithm>
#include <cmath>

#include "map/MapGrid.h"

namespace zandrel::tools {

namespace {

// Viridis sampled at nine even steps.
constexpr std::array<Rgb, 9> kViridis = {{
    {0.267f, 0.005f, 0.329f},
    {0.278f, 0.175f, 0.483f},
    {0.230f, 0.322f, 0.546f},
    {0.173f, 0.449f, 0.558f},
    {0.128f, 0.567f, 0.551f},
    {0.155f, 0.683f, 0.499f},
    {0.363f, 0.787f, 0.386f},
    {0.678f, 0.864f, 0.190f},
    {0.993f, 0.906f, 0.144f},
}};

void Widen(std::optional<ValueRange>& range, double value) {
    if (!std::isfinite(value)) {
        return;
    }
    if (!range) {
        range = ValueRange{value, value};
        return;
    }
    range->low = std::min(range->low, value);
    range->high = std::max(range->high, value);
}

}  // namespace

Rgb RampColour(double t) {
    if (!(t > 0.0)) {
        return kViridis.front();
    }
    if (t >= 1.0) {
        return kViridis.back();
    }
    const double scaled = t * static_cast<double>(kViridis.size() - 1);
    const auto index = static_cast<std::size_t>(scaled);
    const auto f = static_cast<float>(scaled - static_cast<double>(index));
    const Rgb& a = kViridis[index];
    const Rgb& b = kViridis[index + 1];
    return {a[0] + f * (b[0] - a[0]), a[1] + f * (b[1] - a[1]), a[2] + f * (b[2] - a[2])};
}

double RampPosition(double value, const ValueRange& range) {
    const double span = range.high - range.low;
    if (!(span > 0.0) || !std::isfinite(span)) {
        return 0.5;
    }
    return std::clamp((value - range.low) / span, 0.0, 1.0);
}

double CellValue(const map::MapCell& cell, CellField field) {
    switch (field) {
        case CellField::Gravity:
            return cell.grav;
        case CellField::Friction:
            return cell.artr;
        case CellField::Height:
            break;
    }
    return cell.C;
}

std::optional<ValueRange> FieldRange(const map::MapGrid& grid, CellField field) {
    std::optional<ValueRange> range;
    const std::int32_t sizeX = std::min(grid.SizeX, map::kMaxMapSize);
    const std::int32_t sizeZ = std::min(grid.SizeZ, map::kMaxMapSize);
    for (std::int32_t z = 0; z < sizeZ; ++z) {
        for (std::int32_t x = 0; x < sizeX; ++x) {
            const map::MapCell& cell = grid.Cell(x, z);
            if (field == CellField::Height) {
                for (const double h : {cell.NE, cell.NO, cell.SE, cell.SO, cell.C}) {
                    Widen(range, h);
                }
            } else {
                Widen(range, CellValue(cell, field));
            }
        }
    }
    return range;
}

}  // namespace zandrel::tools
