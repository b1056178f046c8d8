#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "mapfile/NumberText.h"
#include "support/CommaDecimalLocale.h"

using zandrel::mapfile::AppendFixed;
using zandrel::mapfile::AppendInt;
using zandrel::mapfile::FixedText;
using zandrel::mapfile::ReadDouble;
using zandrel::mapfile::ReadInt;
using zandrel::testsupport::CommaDecimalLocale;

namespace {

using namespace std::string_literals;

struct DoubleCase {
    std::string text;
    double expected;
};

struct IntCase {
    std::string text;
    std::int32_t expected;
};

const double kInf = std::numeric_limits<double>::infinity();

const std::vector<DoubleCase>& DoubleCases() {
    static const std::vector<DoubleCase> cases = {
        {"", 0.0},
        {"1.25", 1.25},
        {"  \t\n\v\f\r-2.5", -2.5},
        {"+7", 7.0},
        {"1.5abc", 1.5},
        {"1,25", 1.0},
        {"1e3", 1000.0},
        {"2.5E-2", 0.025},
        {"1e", 1.0},
        {"1e+", 1.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"-.5e1", -5.0},
        {"0x1p4", 16.0},
        {"0X1.8", 1.5},
        {"-0x.8p-1", -0.25},
        {"0x", 0.0},
        {"inf", kInf},
        {"-Infinity", -kInf},
        {"INFINITE", kInf},
        {"1e400", kInf},
        {"-1e400", -kInf},
        {"1e-400", 0.0},
        {"4.9406564584124654e-324", 4.9406564584124654e-324},
        {"17976931348623157081452742373170435679807056752584499659891747680315726078002853876058955"
         "86327668781715404589535143824642343213268894641827684675467035375169860499105765512820762"
         "45490090389328944075868508455133942304583236903222948165808559332123348274797826204144723"
         "168738177180919299881250404026184124858368",
         DBL_MAX},
        {"abc", 0.0},
        {"- 1", 0.0},
        {"--1", 0.0},
        {".", 0.0},
        {"1\0.5"s, 1.0},  // a value is read up to its first NUL
    };
    return cases;
}

const std::vector<IntCase>& IntCases() {
    static const std::vector<IntCase> cases = {
        {"", 0},
        {" 7", 7},
        {"\t\v\f\r\n-12", -12},
        {"+3", 3},
        {"3.9", 3},
        {"1e3", 1},
        {"010", 10},
        {"0x10", 0},
        {"yes", 0},
        {"- 5", 0},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        // Past int's range the low 32 bits remain; past long's range strtol saturates first.
        {"2147483648", INT32_MIN},
        {"4294967297", 1},
        {"99999999999999999999", -1},
        {"-99999999999999999999", 0},
        {"4\0-2"s, 4},
    };
    return cases;
}

// printf("%f") in the "C" locale, the bytes map files have always held.
std::string PrintfFixed(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%f", value);
    return text;
}

std::vector<double> EdgeDoubles() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // clang-format off
    return {0.0, -0.0, 0.5, -0.5, 1.25, -160.0, 7.0, 1.2345678, 1e300, -1e300, DBL_MAX, -DBL_MAX,
            DBL_MIN, -DBL_MIN, 4.9406564584124654e-324, -2.2250738585072009e-308, nan, -nan,
            kInf, -kInf,
            // Ties and near-ties at the sixth decimal, in binary and in decimal.
            0.0078125, -0.0078125, 2.5e-7, -2.5e-7, 0.0000005, 0.0000015, 0.0000025, 1.0000005,
            2.0000025, 0.1234565, 1e-7, -1e-7, 0.9999995, 0.99999949999999999, 9.9999995,
            999999.9999995,
            // Integers and halves where doubles get sparse.
            4503599627370496.5, 9007199254740993.0, 1e15 + 0.3, 1e22, 1e23};
    // clang-format on
}

// Doubles of every magnitude the map can hold and far beyond, plus raw bit patterns (which
// include NaNs with payloads and denormals).
std::vector<double> RandomDoubles() {
    std::mt19937_64 random(20240608);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-330, 308);
    std::vector<double> values;
    for (int i = 0; i < 40000; ++i) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
        // Values near the sixth decimal, where rounding decides the last digit.
        values.push_back(std::round(mantissa(random) * 1e8) / 1e8 * 500.0);
        std::uint64_t bits = random();
        double raw = 0.0;
        std::memcpy(&raw, &bits, sizeof raw);
        values.push_back(raw);
    }
    return values;
}

}  // namespace

TEST(NumberTextRead, DoublesFollowTheCLocaleAtof) {
    for (const DoubleCase& c : DoubleCases()) {
        EXPECT_EQ(ReadDouble(c.text), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(ReadDouble(c.text), std::atof(c.text.c_str())) << '"' << c.text << '"';
    }
    EXPECT_TRUE(std::isnan(ReadDouble("nan")));
    EXPECT_TRUE(std::isnan(ReadDouble(" -NAN(123)x")));
    EXPECT_TRUE(std::signbit(ReadDouble("-0")));
}

TEST(NumberTextRead, IntegersFollowTheCLocaleAtoi) {
    for (const IntCase& c : IntCases()) {
        EXPECT_EQ(ReadInt(c.text), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(ReadInt(c.text), std::atoi(c.text.c_str())) << '"' << c.text << '"';
    }
}

// The plain decimals the writer produces take a shorter road than strtod; it must give the same
// bits, at the edges of that road (lengths, signs, dots) as well as on written values.
TEST(NumberTextRead, PlainDecimalsReadExactlyAsStrtod) {
    // clang-format off
    std::vector<std::string> texts = {
        "-0.000000", "-0", "0", "1.", "-1.", ".5", "-.5", "00012.50", "-", "-.", ".", "1..2",
        "2147483647", "2147483648", "-2147483648", "-2147483649", "999999999", "-999999999",
        "9999999999", std::string(39, '9') + ".", std::string(40, '9'), std::string(41, '9'),
        "0." + std::string(37, '0') + "1", "0." + std::string(38, '0') + "1",
        "179769313486231570814527423731704356798070567525844996598917476803157260780028538760"
        "5895"};
    // clang-format on
    for (const double value : EdgeDoubles())
        texts.push_back(FixedText(value));
    for (const double value : RandomDoubles()) {
        if (std::isfinite(value) && std::fabs(value) < 1e30)
            texts.push_back(FixedText(value));
    }
    for (const std::string& text : texts) {
        const double expected = std::strtod(text.c_str(), nullptr);
        const double read = ReadDouble(text);
        EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << '"' << text << '"';
        EXPECT_EQ(ReadInt(text), static_cast<std::int32_t>(std::strtol(text.c_str(), nullptr, 10)))
            << '"' << text << '"';
    }
}

TEST(NumberTextWrite, FixedAndIntegersAreByteForBytePrintfInTheCLocale) {
    for (const double value : EdgeDoubles())
        EXPECT_EQ(FixedText(value), PrintfFixed(value)) << value;
    int mismatches = 0;
    for (const double value : RandomDoubles()) {
        if (FixedText(value) != PrintfFixed(value) && ++mismatches <= 10)
            ADD_FAILURE() << FixedText(value) << " != " << PrintfFixed(value);
    }
    EXPECT_EQ(mismatches, 0);
    // Integers are printf("%d").
    std::mt19937 random(7);
    std::vector<std::int32_t> ints = {0, -1, 1, INT32_MAX, INT32_MIN, 10, -10, 1000000};
    for (int i = 0; i < 1000; ++i)
        ints.push_back(static_cast<std::int32_t>(random()));
    for (const std::int32_t value : ints) {
        std::string out;
        AppendInt(out, value);
        EXPECT_EQ(out, std::to_string(value));
    }
}

TEST(NumberTextWrite, KnownValuesAndAppending) {
    EXPECT_EQ(FixedText(-160.0), "-160.000000");
    EXPECT_EQ(FixedText(1.2345678), "1.234568");
    EXPECT_EQ(FixedText(0.0000005), "0.000000");  // just below one half in binary
    EXPECT_EQ(FixedText(0.0078125), "0.007812");  // an exact tie goes to the even digit
    EXPECT_EQ(FixedText(-0.0), "-0.000000");
    EXPECT_EQ(FixedText(-std::numeric_limits<double>::quiet_NaN()), "-nan");
    std::string out = "x=";
    AppendFixed(out, 2.5);
    AppendInt(out, -7);
    EXPECT_EQ(out, "x=2.500000-7");
}

TEST(NumberText, ACommaDecimalLocaleChangesNothing) {
    std::vector<std::string> inC;
    for (const double value : EdgeDoubles())
        inC.push_back(FixedText(value));
    const CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    ASSERT_EQ(std::atof("1.25"), 1.0);         // what the old loader read
    ASSERT_EQ(PrintfFixed(1.25), "1,250000");  // what the old writer wrote
    for (const DoubleCase& c : DoubleCases())
        EXPECT_EQ(ReadDouble(c.text), c.expected) << '"' << c.text << '"';
    for (const IntCase& c : IntCases())
        EXPECT_EQ(ReadInt(c.text), c.expected) << '"' << c.text << '"';
    const std::vector<double> values = EdgeDoubles();
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(FixedText(values[i]), inC[i]) << values[i];
}
