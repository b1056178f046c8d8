#include "heightimage/HeightRangeText.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "support/CommaDecimalLocale.h"

namespace zandrel::heightimage {
namespace {

// Under the comma-decimal locale of the editor's users: the text never depends on the locale.
TEST(HeightRangeText, WritesTheShortestExactFormAndReadsOnlyFiniteNumbers) {
    const testsupport::CommaDecimalLocale italian;
    EXPECT_EQ(FormatHeightRange({-0.1, 1234567.25}), "-0.1 1234567.25");
    EXPECT_EQ(FormatHeightRange({0.0, 0.0}), "0 0");
    const auto parsed = [](std::string_view text) {
        const std::optional<tools::HeightRange> range = ParseHeightRange(text);
        return range ? std::optional(std::pair(range->min, range->max)) : std::nullopt;
    };
    EXPECT_EQ(parsed(FormatHeightRange({1.0 / 3.0, -2e-300})), std::pair(1.0 / 3.0, -2e-300));
    EXPECT_EQ(parsed("  -3.5\t 1e2 "), std::pair(-3.5, 100.0));
    for (const char* bad :
         {"", "1", "1 2 3", "1,5 2", "nan 1", "1 inf", "1 2x", "x 2", "1e999 2"}) {
        EXPECT_EQ(parsed(bad), std::nullopt) << bad;
    }
    EXPECT_EQ(ParseHeight("-2.25"), -2.25);
    EXPECT_EQ(ParseHeight("+7"), 7.0);
    for (const char* bad : {"", "+", "+-1", "2,5", "1.5m", " 1", "inf", "nan"}) {
        EXPECT_FALSE(ParseHeight(bad).has_value()) << bad;
    }
}

}  // namespace
}  // namespace zandrel::heightimage
