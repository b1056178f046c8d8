#include "cli/ScriptCommand.h"

#include <charconv>
#include <cmath>

namespace zandrel::cli {

namespace {

constexpr std::string_view kBlanks = " \t\r\v\f";

// from_chars takes no leading '+'; a script may well write one.
std::string_view WithoutPlus(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+') {
        text.remove_prefix(1);
    }
    return text;
}

}  // namespace

std::optional<ScriptCommand> SplitScriptLine(std::string_view line) {
    ScriptCommand command;
    std::size_t position = line.find_first_not_of(kBlanks);
    if (position == std::string_view::npos || line[position] == '#') {
        return std::nullopt;
    }
    while (position != std::string_view::npos) {
        const std::size_t end = line.find_first_of(kBlanks, position);
        const std::string_view word = line.substr(position, end - position);
        if (command.name.empty()) {
            command.name = word;
        } else {
            command.args.push_back(word);
        }
        position = line.find_first_not_of(kBlanks, end);
    }
    return command;
}

std::optional<std::int32_t> ParseWholeNumber(std::string_view text) {
    text = WithoutPlus(text);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseNumber(std::string_view text) {
    text = WithoutPlus(text);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (error != std::errc() || end != text.data() + text.size() || text.empty() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace zandrel::cli
