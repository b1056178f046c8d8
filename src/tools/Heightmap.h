#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "map/MapGrid.h"
#include "tools/DocumentState.h"
#include "tools/MapSelection.h"

namespace zandrel::tools {

// A rectangle of heights sampled on a regular lattice, row after row: column u runs along the
// map's x, row v along its z. A map's own lattice is (2 * SizeX + 1) by (2 * SizeZ + 1): corners
// at even (u, v), centres at odd (u, v), the middles of cell edges where one is odd and the other
// even. Pictures of terrain come as such a field, at whatever size they were drawn.
struct HeightField {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<double> heights;  // width * height values, row v at v * width

    double At(std::int32_t u, std::int32_t v) const {
        return heights[static_cast<std::size_t>(v) * static_cast<std::size_t>(width) +
                       static_cast<std::size_t>(u)];
    }
};

// Lowest and highest height; equal for a flat field.
struct HeightRange {
    double min = 0.0;
    double max = 0.0;
};

// Height levels of a 16-bit picture: 0 is range.min, kTopLevel is range.max.
inline constexpr std::uint32_t kTopLevel = 65535;

// The map's heights on its own lattice. A corner shared by cells that disagree (a wall between
// them) takes the highest of their values, so a cliff keeps its top; the middle of an edge is
// the mean of its two corners as sampled. Heights that are not numbers (a file may hold NaN)
// lose to any number at a shared corner.
HeightField SampleHeightField(const map::MapGrid& grid);

// The range of the field's finite heights; {0, 0} when it has none.
HeightRange RangeOf(const HeightField& field);

// Each height as a level of range, rounded to the nearest; heights outside the range (and
// infinities) are clamped to its ends, NaN becomes level 0, and a flat range is all level 0.
std::vector<std::uint16_t> LevelsOf(const HeightField& field, HeightRange range);

// The reverse of LevelsOf: levels (width * height of them, row after row) spread over range.
HeightField HeightsFromLevels(std::int32_t width, std::int32_t height,
                              std::span<const std::uint16_t> levels, HeightRange range);

// Sets every corner and centre of the cells in use from field, stretched over the map so that
// the field's first and last columns and rows fall on the map's edges and interpolated
// bilinearly between samples; a field of the map's own lattice size is copied exactly. Every
// cell gets its own copy of a shared corner, so the imported terrain has no walls. Textures,
// goal flags, gravity, friction, start and enemies stay; normals are recomputed. An empty field
// changes nothing.
void ApplyHeightField(map::MapGrid& grid, const HeightField& field);

// The import as an edit of an open map: the whole map's heights go to the undo snapshot first,
// as paste does, then the field is applied; the selection starts a new undo step, so the next
// tool application takes a snapshot of the imported terrain. False (and nothing changed) for an
// empty field.
bool ImportHeightField(DocumentState& doc, MapSelection& selection, const HeightField& field);

}  // namespace zandrel::tools
