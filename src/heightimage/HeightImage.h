#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "tools/Heightmap.h"

namespace zandrel::heightimage {

// A greyscale picture of terrain as 16-bit levels, row after row (row v along the map's z,
// column u along its x), and the height range its levels span when the file says so.
struct HeightImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint16_t> levels;
    std::optional<tools::HeightRange> range;
};

// Limits on what a file may make us allocate, checked against its header before any pixel is
// decoded: neither side above kMaxImageSide and no more than kMaxImagePixels pixels (a map
// needs at most 101 x 101; anything larger is only averaged down). Files above kMaxFileBytes
// are refused before they are read.
inline constexpr std::uint32_t kMaxImageSide = 16384;
inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t{4096} * 4096;
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{256} * 1024 * 1024;

// The PNG text chunk keyword under which the height range is stored.
inline constexpr char kRangeKeyword[] = "zandrel:height-range";

}  // namespace zandrel::heightimage
