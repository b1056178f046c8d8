#pragma once

#include <array>
#include <optional>

namespace zandrel::map {
class MapGrid;
struct MapCell;
}  // namespace zandrel::map

namespace zandrel::tools {

using Rgb = std::array<float, 3>;

// The cell value a tint shows.
enum class CellField : unsigned char { Height, Gravity, Friction };

struct ValueRange {
    double low = 0.0;
    double high = 0.0;
    bool operator==(const ValueRange&) const = default;
};

// A perceptually even ramp from dark blue through green to yellow (viridis): t in [0, 1], values
// outside (and NaN) clamped to the ends.
Rgb RampColour(double t);

// Where value lies in range, 0 at low and 1 at high; 0.5 for a range of one value.
double RampPosition(double value, const ValueRange& range);

// The lowest and highest finite value of field over the cells in use (every corner and centre
// for height); nothing when the map has no finite value.
std::optional<ValueRange> FieldRange(const map::MapGrid& grid, CellField field);

// The value of a cell for a field other than height (height is read per corner).
double CellValue(const map::MapCell& cell, CellField field);

}  // namespace zandrel::tools
