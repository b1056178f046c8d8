#include "tools/Heightmap.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace zandrel::tools {

namespace {

// The higher of two heights, where any number beats NaN.
double Higher(double a, double b) {
    if (std::isnan(a)) {
        return b;
    }
    if (std::isnan(b)) {
        return a;
    }
    return std::max(a, b);
}

// The corner at lattice point (x, z) of cells: the cells around it each hold a copy.
double SharedCorner(const map::MapGrid& grid, std::int32_t x, std::int32_t z) {
    double h = std::nan("");
    if (grid.InMap(x, z)) {
        h = Higher(h, grid.Cell(x, z).NE);
    }
    if (grid.InMap(x - 1, z)) {
        h = Higher(h, grid.Cell(x - 1, z).NO);
    }
    if (grid.InMap(x, z - 1)) {
        h = Higher(h, grid.Cell(x, z - 1).SE);
    }
    if (grid.InMap(x - 1, z - 1)) {
        h = Higher(h, grid.Cell(x - 1, z - 1).SO);
    }
    return h;
}

// Where lattice index i of a lattice with `count` steps falls among the field's `size` samples.
double SourcePosition(std::int32_t i, std::int32_t count, std::int32_t size) {
    if (count == 0 || size <= 1) {
        return 0.0;
    }
    return static_cast<double>(i) * static_cast<double>(size - 1) / static_cast<double>(count);
}

// Bilinear interpolation of field at (u, v), both inside the field.
double Interpolate(const HeightField& field, double u, double v) {
    const auto u0 = std::min(static_cast<std::int32_t>(u), field.width - 1);
    const auto v0 = std::min(static_cast<std::int32_t>(v), field.height - 1);
    const std::int32_t u1 = std::min(u0 + 1, field.width - 1);
    const std::int32_t v1 = std::min(v0 + 1, field.height - 1);
    const double fu = u - u0;
    const double fv = v - v0;
    // An exact hit reads one sample, so a field of the map's own size comes back bit for bit.
    if (fu == 0.0 && fv == 0.0) {
        return field.At(u0, v0);
    }
    const double top = field.At(u0, v0) + (field.At(u1, v0) - field.At(u0, v0)) * fu;
    const double bottom = field.At(u0, v1) + (field.At(u1, v1) - field.At(u0, v1)) * fu;
    return top + (bottom - top) * fv;
}

// At least one sample, and as many as the size says.
bool HasSamples(const HeightField& field) {
    return field.width > 0 && field.height > 0 &&
           field.heights.size() ==
               static_cast<std::size_t>(field.width) * static_cast<std::size_t>(field.height);
}

}  // namespace

HeightField SampleHeightField(const map::MapGrid& grid) {
    HeightField field;
    field.width = 2 * grid.SizeX + 1;
    field.height = 2 * grid.SizeZ + 1;
    field.heights.resize(static_cast<std::size_t>(field.width) *
                         static_cast<std::size_t>(field.height));
    const auto set = [&field](std::int32_t u, std::int32_t v, double h) {
        field.heights[static_cast<std::size_t>(v) * static_cast<std::size_t>(field.width) +
                      static_cast<std::size_t>(u)] = h;
    };
    // Corners first: the edge middles are made from them.
    for (std::int32_t z = 0; z <= grid.SizeZ; ++z) {
        for (std::int32_t x = 0; x <= grid.SizeX; ++x) {
            set(2 * x, 2 * z, SharedCorner(grid, x, z));
        }
    }
    for (std::int32_t v = 0; v < field.height; ++v) {
        for (std::int32_t u = 0; u < field.width; ++u) {
            const bool oddU = (u % 2) == 1;
            const bool oddV = (v % 2) == 1;
            if (oddU && oddV) {
                set(u, v, grid.Cell(u / 2, v / 2).C);
            } else if (oddU) {
                set(u, v, (field.At(u - 1, v) + field.At(u + 1, v)) / 2.0);
            } else if (oddV) {
                set(u, v, (field.At(u, v - 1) + field.At(u, v + 1)) / 2.0);
            }
        }
    }
    return field;
}

HeightRange RangeOf(const HeightField& field) {
    bool found = false;
    HeightRange range;
    for (const double h : field.heights) {
        if (!std::isfinite(h)) {
            continue;
        }
        range.min = found ? std::min(range.min, h) : h;
        range.max = found ? std::max(range.max, h) : h;
        found = true;
    }
    return range;
}

std::vector<std::uint16_t> LevelsOf(const HeightField& field, HeightRange range) {
    std::vector<std::uint16_t> levels(field.heights.size(), 0);
    const double span = range.max - range.min;
    if (!(span > 0.0) || !std::isfinite(span)) {
        return levels;
    }
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double h = field.heights[i];
        if (std::isnan(h)) {
            continue;
        }
        const double scaled = std::clamp((h - range.min) / span, 0.0, 1.0) * kTopLevel;
        levels[i] = static_cast<std::uint16_t>(std::lround(scaled));
    }
    return levels;
}

HeightField HeightsFromLevels(std::int32_t width, std::int32_t height,
                              std::span<const std::uint16_t> levels, HeightRange range) {
    HeightField field;
    field.width = width;
    field.height = height;
    field.heights.reserve(levels.size());
    for (const std::uint16_t level : levels) {
        const double t = static_cast<double>(level) / kTopLevel;
        // The top level lands exactly on max, not a rounding step beside it.
        field.heights.push_back(level == kTopLevel ? range.max
                                                   : range.min + (range.max - range.min) * t);
    }
    return field;
}

void ApplyHeightField(map::MapGrid& grid, const HeightField& field) {
    if (!HasSamples(field)) {
        return;
    }
    const std::int32_t stepsU = 2 * grid.SizeX;
    const std::int32_t stepsV = 2 * grid.SizeZ;
    const auto sample = [&](std::int32_t i, std::int32_t j) {
        return Interpolate(field, SourcePosition(i, stepsU, field.width),
                           SourcePosition(j, stepsV, field.height));
    };
    for (std::int32_t x = 0; x < grid.SizeX; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ; ++z) {
            map::MapCell& cell = grid.Cell(x, z);
            cell.NE = sample(2 * x, 2 * z);
            cell.NO = sample(2 * x + 2, 2 * z);
            cell.SE = sample(2 * x, 2 * z + 2);
            cell.SO = sample(2 * x + 2, 2 * z + 2);
            cell.C = sample(2 * x + 1, 2 * z + 1);
        }
    }
    grid.ComputeNormals();
}

bool ImportHeightField(DocumentState& doc, MapSelection& selection, const HeightField& field) {
    if (!HasSamples(field)) {
        return false;
    }
    doc.mapGrid.SaveTo(doc.undoGrid);
    ApplyHeightField(doc.mapGrid, field);
    selection.undoSaved = false;
    return true;
}

}  // namespace zandrel::tools
