#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "heightimage/HeightPngReader.h"
#include "heightimage/HeightPngWriter.h"
#include "heightimage/HeightRangeText.h"
#include "support/CommaDecimalLocale.h"
#include "support/PngBytes.h"

namespace zandrel::heightimage {
namespace {

using testsupport::Bytes;
using testsupport::HeaderOnly;
using testsupport::SimplePng;
using testsupport::ToBytes;

TEST(DecodeHeightPng, ReadsEveryKindOfPngAsSixteenBitGrey) {
    struct Case {
        const char* kind;
        Bytes png;
        std::vector<std::uint16_t> levels;
    };
    const Case cases[] = {
        {"8-bit grey", SimplePng(PNG_FORMAT_GRAY, 3, {0, 128, 255}), {0, 128 * 257, 65535}},
        {"grey and alpha", SimplePng(PNG_FORMAT_GA, 2, {10, 0, 200, 255}), {10 * 257, 200 * 257}},
        {"colour, grey pixels",
         SimplePng(PNG_FORMAT_RGB, 2, {7, 7, 7, 99, 99, 99}),
         {7 * 257, 99 * 257}},
        {"colour with alpha", SimplePng(PNG_FORMAT_RGBA, 1, {50, 50, 50, 0}), {50 * 257}},
        {"palette",
         SimplePng(PNG_FORMAT_RGB_COLORMAP, 3, {1, 0, 1}, {30, 30, 30, 240, 240, 240}),
         {240 * 257, 30 * 257, 240 * 257}},
    };
    for (const Case& each : cases) {
        HeightImage image;
        const Status decoded = DecodeHeightPng(each.png, image);
        ASSERT_TRUE(decoded.ok()) << each.kind << ": " << decoded.message();
        EXPECT_EQ(std::tie(image.width, image.height, image.levels),
                  std::tuple(static_cast<std::int32_t>(each.levels.size()), 1, each.levels))
            << each.kind;
        EXPECT_FALSE(image.range.has_value()) << each.kind;
    }
    // A colour is taken as its luminance: green looks lightest, blue darkest, none is black
    // or white.
    HeightImage image;
    ASSERT_TRUE(
        DecodeHeightPng(SimplePng(PNG_FORMAT_RGB, 3, {255, 0, 0, 0, 255, 0, 0, 0, 255}), image));
    EXPECT_GT(image.levels[1], image.levels[0]);
    EXPECT_GT(image.levels[0], image.levels[2]);
    EXPECT_GT(image.levels[2], 0);
    EXPECT_LT(image.levels[1], 65535);
}

TEST(EncodeHeightPng, RoundTripsLevelsAndTheStoredRange) {
    HeightImage image{3, 2, {0, 1, 256, 65535, 4660, 43981}, tools::HeightRange{-1.5, 2e3}};
    std::string bytes;
    ASSERT_TRUE(EncodeHeightPng(image, bytes));
    HeightImage back;
    ASSERT_TRUE(DecodeHeightPng(ToBytes(bytes), back));
    EXPECT_EQ(std::tie(back.width, back.height, back.levels),
              std::tie(image.width, image.height, image.levels));
    ASSERT_TRUE(back.range.has_value());
    EXPECT_EQ(std::pair(back.range->min, back.range->max), std::pair(-1.5, 2e3));
    // A picture without a range reads back without one: zdmtool's test (tests/cli).

    EXPECT_FALSE(EncodeHeightPng({2, 2, {1, 2, 3}, std::nullopt}, bytes).ok());
    EXPECT_FALSE(EncodeHeightPng({0, 0, {}, std::nullopt}, bytes).ok());
}

TEST(DecodeHeightPng, RefusesHostileFilesWithAReasonAndKeepsTheImage) {
    std::string good;
    ASSERT_TRUE(EncodeHeightPng({2, 2, {1, 2, 3, 4}, std::nullopt}, good));
    Bytes corrupt = ToBytes(good);
    corrupt[corrupt.size() - 20] ^= 0xff;  // inside the image data or its CRC

    struct Case {
        const char* kind;
        Bytes bytes;
        const char* reason;
    };
    const Case cases[] = {
        {"empty", {}, "is not a PNG image"},
        {"text", ToBytes("P2\n1 1\n255\n0\n"), "is not a PNG image"},
        {"0 x 0", HeaderOnly(0, 0), "is 0 x 0 pixels; a heightmap has 1 to 16384 a side"},
        {"no rows", HeaderOnly(3, 0), "is 3 x 0 pixels; a heightmap has 1 to 16384 a side"},
        {"too wide", HeaderOnly(kMaxImageSide + 1, 1), "is 16385 x 1 pixels; a heightmap has"},
        {"too many pixels", HeaderOnly(5000, 5000), "is 5000 x 5000 pixels; a heightmap has"},
        {"no header", Bytes(good.begin(), good.begin() + 20), "is not a readable PNG image: "},
        {"header only", HeaderOnly(2, 2), "is not a readable PNG image: "},
        {"cut short", ToBytes(good.substr(0, good.size() / 2)), "is not a readable PNG image: "},
        {"damaged", corrupt, "is not a readable PNG image: "},
    };
    for (const Case& each : cases) {
        HeightImage image{1, 1, {7}, std::nullopt};
        const Status decoded = DecodeHeightPng(each.bytes, image);
        EXPECT_FALSE(decoded.ok()) << each.kind;
        EXPECT_EQ(decoded.message().rfind(each.reason, 0), 0U)
            << each.kind << ": " << decoded.message();
        EXPECT_EQ(image.levels, std::vector<std::uint16_t>{7}) << each.kind;
    }
}

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
