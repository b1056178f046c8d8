#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/Heightmap.h"

namespace zandrel::heightimage {

// The height range as a PNG text value, "MIN MAX": each number in the shortest form that reads
// back to the same double, with a dot whatever the process locale.
std::string FormatHeightRange(tools::HeightRange range);

// Reads FormatHeightRange's text (and any two finite decimal numbers split by blanks); nothing
// for anything else, so a damaged chunk counts as no stored range.
std::optional<tools::HeightRange> ParseHeightRange(std::string_view text);

// One finite number, the whole text, locale-free (as given to --min and --max).
std::optional<double> ParseHeight(std::string_view text);

}  // namespace zandrel::heightimage
