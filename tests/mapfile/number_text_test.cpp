#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "mapfile/NumberText.h"
#include "support/CommaDecimalLocale.h"

namespace zandrel::mapfile {
namespace {

using namespace std::string_literals;

// Texts at the edges of strtod's syntax, of int's range and of the shorter road plain decimals
// take (lengths, signs, dots).
// clang-format off
const std::vector<std::string> kTexts = {
    "", "1.25", "  \t\n\v\f\r-2.5", "+7", "1.5abc", "1,25", "1e3", "2.5E-2", "1e", "1e+", ".5",
    "5.", "-.5e1", "0x1p4", "0X1.8", "-0x.8p-1", "0x", "inf", "-Infinity", "INFINITE", "nan",
    " -NAN(123)x", "1e400", "-1e400", "1e-400", "4.9406564584124654e-324", "abc", "- 1", "--1",
    ".", "-", "-.", "1..2", "1\0.5"s, "4\0-2"s, "010", "0x10", "3.9", "-0.000000", "-0",
    "00012.50", "2147483647", "2147483648", "-2147483648", "-2147483649", "4294967297",
    "99999999999999999999", "-99999999999999999999", "9999999999", std::string(39, '9') + ".",
    std::string(40, '9'), std::string(41, '9'), "0." + std::string(37, '0') + "1",
    "0." + std::string(38, '0') + "1", "1" + std::string(308, '0'), "1" + std::string(309, '0')};
// clang-format on

// Same bits, or both NaN: strtod keeps NaN payloads that the map never holds.
bool SameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

TEST(NumberText, ReadsAsAtofAndAtoiOfTheCLocaleInACommaDecimalLocale) {
    std::vector<std::pair<double, long>> inC;
    for (const std::string& text : kTexts)
        inC.emplace_back(std::strtod(text.c_str(), nullptr),
                         std::strtol(text.c_str(), nullptr, 10));
    const testsupport::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        EXPECT_TRUE(SameDouble(ReadDouble(kTexts[i]), inC[i].first)) << kTexts[i];
        EXPECT_EQ(ReadInt(kTexts[i]), static_cast<std::int32_t>(inC[i].second)) << kTexts[i];
    }
}

// Raw bit patterns (NaN payloads, denormals), every magnitude, the values without digits and the
// limits, exact ties at the sixth decimal (odd multiples of 2^-7) and near-ties whose rounding
// carries into a new digit.
rc::Gen<double> Doubles() {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    return rc::gen::oneOf(
        rc::gen::map(rc::gen::arbitrary<std::uint64_t>(),
                     [](std::uint64_t bits) {
                         double value = 0.0;
                         std::memcpy(&value, &bits, sizeof value);
                         return value;
                     }),
        rc::gen::map(
            rc::gen::pair(rc::gen::inRange(-99999999, 99999999), rc::gen::inRange(-330, 308)),
            [](std::pair<int, int> p) { return p.first * 1e-8 * std::pow(10.0, p.second); }),
        rc::gen::map(rc::gen::inRange(-99999999, 99999999), [](int n) { return n / 128.0; }),
        rc::gen::map(rc::gen::inRange(-15, 16),
                     [](int e) { return std::copysign(std::pow(10.0, std::abs(e)) - 5e-7, e); }),
        rc::gen::element(0.0, -0.0, inf, -inf, nan, -nan, DBL_MAX, -DBL_MAX, DBL_MIN,
                         std::numeric_limits<double>::denorm_min()));
}

// Plain decimals of 12 to 18 digits, around the 15 that are read as one exact division: every
// split of the digits between integer part and fraction, with or without a minus, a dot or a
// fraction.
rc::Gen<std::string> PlainDecimals() {
    return rc::gen::exec([] {
        const auto digits =
            *rc::gen::container<std::string>(*rc::gen::inRange<std::size_t>(12, 19),
                                             rc::gen::inRange('0', static_cast<char>('9' + 1)));
        const auto dot = *rc::gen::inRange<std::size_t>(0, digits.size() + 1);
        std::string text = (*rc::gen::arbitrary<bool>() ? "-" : "") + digits.substr(0, dot);
        if (dot < digits.size() || *rc::gen::arbitrary<bool>())
            text += "." + digits.substr(dot);
        return text;
    });
}

// What the C library gives in the "C" locale, the writer and the reader give in a comma-decimal
// locale: printf of the doubles, and atof and atoi of the writer's own texts and of plain decimals.
RC_GTEST_PROP(NumberText, WritesAsPrintfAndReadsAsAtofOfTheCLocaleInAnyLocale,
              (std::int64_t whole)) {
    const double value = *Doubles();
    char printed[400];
    std::snprintf(printed, sizeof printed, "%f", value);
    const std::string text = *rc::gen::oneOf(rc::gen::just(std::string(printed)), PlainDecimals());
    const double atof = std::strtod(text.c_str(), nullptr);
    const auto atoi = static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10));
    const testsupport::CommaDecimalLocale comma;
    RC_ASSERT(comma.active());
    std::string out = "x=";
    AppendFixed(out, value);
    AppendInt(out.append(" "), whole);
    RC_ASSERT(out == "x=" + std::string(printed) + " " + std::to_string(whole));
    RC_ASSERT(FixedText(value) == printed);
    RC_ASSERT(SameDouble(ReadDouble(text), atof));
    RC_ASSERT(ReadInt(text) == atoi);
}

}  // namespace
}  // namespace zandrel::mapfile
