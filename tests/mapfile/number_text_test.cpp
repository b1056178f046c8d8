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

const double kNan = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
// clang-format off
const std::vector<double> kEdgeDoubles = {
    0.0, -0.0, 0.5, -160.0, 1.2345678, 1e300, -DBL_MAX, DBL_MIN, 4.9406564584124654e-324,
    -2.2250738585072009e-308, kNan, -kNan, kInf, -kInf,
    // Ties and near-ties at the sixth decimal, in binary and in decimal.
    0.0078125, -0.0078125, 2.5e-7, -2.5e-7, 0.0000005, 0.0000015, 0.0000025, 1.0000005, 2.0000025,
    0.1234565, 1e-7, 0.9999995, 0.99999949999999999, 9.9999995, 999999.9999995,
    // Integers and halves where doubles get sparse.
    4503599627370496.5, 9007199254740993.0, 1e15 + 0.3, 1e22, 1e23};
// clang-format on

std::string PrintfFixed(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

// Same bits, or both NaN: strtod keeps NaN payloads that the map never holds.
bool SameDouble(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// Raw bit patterns (NaN payloads, denormals), every magnitude, and values near the sixth decimal.
rc::Gen<double> Doubles() {
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
        rc::gen::map(rc::gen::inRange(-99999999, 99999999), [](int n) { return n / 1e8 * 500.0; }));
}

// The C library's answers in the "C" locale, for the texts and for the writer's own texts of
// the doubles, are what the reader and the writer give, in a comma-decimal locale too.
TEST(NumberText, ReadsAsAtofAndAtoiAndWritesAsPrintfOfTheCLocaleInAnyLocale) {
    std::vector<std::string> texts = kTexts;
    for (const double value : kEdgeDoubles)
        texts.push_back(PrintfFixed(value));
    std::vector<std::pair<double, long>> inC;
    for (const std::string& text : texts)
        inC.emplace_back(std::strtod(text.c_str(), nullptr),
                         std::strtol(text.c_str(), nullptr, 10));
    const auto expectAsInC = [&](const char* locale) {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_TRUE(SameDouble(ReadDouble(texts[i]), inC[i].first))
                << locale << " " << texts[i];
            EXPECT_EQ(ReadInt(texts[i]), static_cast<std::int32_t>(inC[i].second))
                << locale << " " << texts[i];
        }
        for (std::size_t i = 0; i < kEdgeDoubles.size(); ++i)
            EXPECT_EQ(FixedText(kEdgeDoubles[i]), texts[kTexts.size() + i]) << locale;
    };
    expectAsInC("C");
    const testsupport::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    expectAsInC("it_IT");
}

RC_GTEST_PROP(NumberText, WritesAsPrintfAndReadsItsOwnTextBack, (std::int64_t whole)) {
    const double value = *Doubles();
    std::string out = "x=";
    AppendFixed(out, value);
    AppendInt(out.append(" "), whole);
    RC_ASSERT(out == "x=" + PrintfFixed(value) + " " + std::to_string(whole));
    if (std::isfinite(value) && std::fabs(value) < 1e30) {
        const std::string text = FixedText(value);
        RC_ASSERT(SameDouble(ReadDouble(text), std::strtod(text.c_str(), nullptr)));
        RC_ASSERT(ReadInt(text) ==
                  static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10)));
    }
}

// Plain decimals of 12 to 18 digits, around the 15 that are read as one exact division: every split
// of the digits between integer part and fraction, with or without a minus, a dot or a fraction.
RC_GTEST_PROP(NumberText, PlainDecimalsReadAsStrtod, ()) {
    const auto digits = *rc::gen::container<std::string>(
        *rc::gen::inRange<std::size_t>(12, 19), rc::gen::inRange('0', static_cast<char>('9' + 1)));
    const auto dot = *rc::gen::inRange<std::size_t>(0, digits.size() + 1);
    std::string text = (*rc::gen::arbitrary<bool>() ? "-" : "") + digits.substr(0, dot);
    if (dot < digits.size() || *rc::gen::arbitrary<bool>())
        text += "." + digits.substr(dot);
    RC_ASSERT(SameDouble(ReadDouble(text), std::strtod(text.c_str(), nullptr)));
}

}  // namespace
}  // namespace zandrel::mapfile
