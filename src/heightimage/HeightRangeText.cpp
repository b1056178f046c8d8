#include "heightimage/HeightRangeText.h"

#include <array>
#include <charconv>
#include <cmath>

namespace zandrel::heightimage {

namespace {

void AppendShortest(std::string& out, double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    out.append(buffer.data(), result.ptr);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

std::string FormatHeightRange(tools::HeightRange range) {
    std::string text;
    AppendShortest(text, range.min);
    text += ' ';
    AppendShortest(text, range.max);
    return text;
}

std::optional<double> ParseHeight(std::string_view text) {
    // from_chars takes no leading '+', which a user may well type.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (text.empty() || result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<tools::HeightRange> ParseHeightRange(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t gap = 0;
    while (gap < text.size() && !IsBlank(text[gap])) {
        ++gap;
    }
    std::size_t second = gap;
    while (second < text.size() && IsBlank(text[second])) {
        ++second;
    }
    const std::optional<double> min = ParseHeight(text.substr(0, gap));
    const std::optional<double> max = ParseHeight(text.substr(second));
    if (gap == text.size() || !min || !max) {
        return std::nullopt;
    }
    return tools::HeightRange{*min, *max};
}

}  // namespace zandrel::heightimage
