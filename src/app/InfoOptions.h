#pragma once

#include <optional>
#include <ostream>
#include <span>

namespace zandrel::app {

// --help and --version: answered before Qt starts, so they work without a display (Qt stops
// the program when it cannot reach one) and in package checks on machines without X.
// Returns the exit status when one of them was given, nothing when the editor should start.
std::optional<int> AnswerInfoOption(std::span<char* const> arguments, std::ostream& out);

}  // namespace zandrel::app
