#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace zandrel::cli {

inline constexpr std::string_view kHeightmapSynopsis =
    "heightmap export MAP OUT.png | heightmap import MAP IN.png OUT.zdm [--min H --max H]";

inline constexpr std::string_view kHeightmapDescription =
    "export: write MAP's heights as a 16-bit greyscale PNG of (2*SizeX+1) x (2*SizeZ+1)\n"
    "pixels (corners at even pixels, centres at odd ones; where cells disagree at a corner,\n"
    "the higher one) and print the height range, which the PNG also stores.\n"
    "import: set every corner and centre of MAP's cells from IN.png, any PNG (colour is taken\n"
    "as its luminance), resampled bilinearly to the map's size, and save the result to\n"
    "OUT.zdm; textures, attributes, goal, start and enemies stay. Black is the range's\n"
    "minimum and white its maximum: the range stored in IN.png, or --min and --max, which\n"
    "go together and take precedence over a stored range.";

// The heightmap verb, given the arguments after its name. Exit status as zdmtool's: 0 done,
// 1 a file could not be read or written, 2 a usage error.
int RunHeightmapCommand(std::span<const std::string_view> args, std::ostream& out,
                        std::ostream& err);

}  // namespace zandrel::cli
