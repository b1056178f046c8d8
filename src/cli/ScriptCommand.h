#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace zandrel::cli {

// One line of an editing script: a command word and its arguments, split at blanks.
struct ScriptCommand {
    std::string_view name;
    std::vector<std::string_view> args;
};

// The command on a line, or nothing for a blank line or a comment (first non-blank '#').
// Blanks are spaces, tabs and the carriage return of a CRLF line end.
std::optional<ScriptCommand> SplitScriptLine(std::string_view line);

// A whole decimal number with an optional sign that fits an int32; nothing else.
std::optional<std::int32_t> ParseWholeNumber(std::string_view text);

// A finite decimal number, such as 3, -0.5 or 1e2, with an optional sign; nothing else.
std::optional<double> ParseNumber(std::string_view text);

}  // namespace zandrel::cli
