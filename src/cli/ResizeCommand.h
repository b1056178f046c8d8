#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace zandrel::cli {

inline constexpr std::string_view kResizeSynopsis = "resize MAP SX SZ OUT [--anchor A]";

inline constexpr std::string_view kResizeDescription =
    "Write MAP at a size of SX by SZ cells (1 to 50 each) to OUT, through a temporary file, so\n"
    "a failure leaves OUT as it was. Cells that stay keep every value, new cells get a new\n"
    "map's values, and a start or enemy whose cell goes is unset (zdmtool check --strict then\n"
    "reports it). --anchor names the corner or edge whose cells stay in place, in the map's\n"
    "compass where x grows to the west and z to the south: ne (cell 0 0, the default), n, no,\n"
    "e, c, o, se, s or so.";

// The resize verb, given the arguments after its name. Exit status as zdmtool's: 0 done, 1 a
// file could not be read or written, 2 a usage error (bad sizes and anchors among them).
int RunResizeCommand(std::span<const std::string_view> args, std::ostream& err);

}  // namespace zandrel::cli
