#include "mapfile/NumberText.h"

#include <locale.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace zandrel::mapfile {

namespace {

// The "C" locale as an object of its own, made once: conversions take it explicitly, so nothing
// depends on (or changes) the process's current locale.
class CLocale {
public:
    CLocale() : locale_(::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr))) {}
    ~CLocale() {
        if (locale_ != static_cast<locale_t>(nullptr)) {
            ::freelocale(locale_);
        }
    }
    CLocale(const CLocale&) = delete;
    CLocale& operator=(const CLocale&) = delete;

    locale_t get() const { return locale_; }

    static const CLocale& Instance() {
        static const CLocale instance;
        return instance;
    }

private:
    locale_t locale_;
};

// Whether text is nothing but a plain decimal: an optional minus, digits, and optionally a dot
// with more digits, at most maxLength characters. On such text from_chars and the C library's
// conversions agree to the bit (both round correctly) and nothing can overflow, so the common
// case can skip the locale-aware path; everything else (blanks, plus signs, exponents, hex,
// "inf", trailing text, embedded NULs) takes that path.
bool IsPlainDecimal(std::string_view text, std::size_t maxLength, bool allowFraction) {
    if (text.size() > maxLength) {
        return false;
    }
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        ++digits;
    }
    if (digits == 0) {
        return false;
    }
    text.remove_prefix(digits);
    if (text.empty()) {
        return true;
    }
    if (!allowFraction || text.front() != '.') {
        return false;
    }
    text.remove_prefix(1);
    // A loop, not find_first_not_of: that looks each character up in the set with a call.
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// A plain decimal read as an integer mantissa m and a count k of fraction digits, when both
// m and 10^k are exact in a double. m / 10^k is then one correctly rounded division, the very bits
// that from_chars and strtod give, since they round correctly too. Covers the map's own "%f" texts;
// anything else (more digits, a longer fraction, any other syntax) returns false and takes the long
// road.
bool ReadExactPlainDecimal(std::string_view text, double& value) {
    static constexpr std::array<double, 16> kPowersOfTen = {
        1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Up to 15 digits in all: the mantissa stays below 10^15 < 2^53, the fraction within 10^15.
    constexpr std::size_t kMaxDigits = 15;
    const bool negative = !text.empty() && text.front() == '-';
    text.remove_prefix(negative ? 1 : 0);
    const std::size_t dot = text.find('.');
    const std::size_t digits = text.size() - (dot == std::string_view::npos ? 0 : 1);
    if (digits > kMaxDigits || dot == 0 || text.empty()) {
        return false;
    }
    std::uint64_t mantissa = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto digit = static_cast<unsigned char>(text[k] - '0');
        if (digit < 10) {
            mantissa = mantissa * 10 + digit;
        } else if (k != dot) {
            return false;
        }
    }
    const std::size_t fractionDigits = dot == std::string_view::npos ? 0 : text.size() - dot - 1;
    const double magnitude = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    value = negative ? -magnitude : magnitude;
    return true;
}

// Plain decimals of up to 9 digits fit an int32 whatever they hold; up to 40 characters a
// fraction without exponent stays far from overflow and from subnormals.
constexpr std::size_t kPlainIntLength = 10;
constexpr std::size_t kPlainDoubleLength = 40;

// Longest "%f" text: DBL_MAX has 309 integer digits, plus sign, dot and six decimals.
constexpr std::size_t kMaxFixedLength = 1 + 309 + 1 + 6;

}  // namespace

std::int32_t ReadInt(const char* text) {
    // glibc's atoi is (int)strtol(text, NULL, 10): a value beyond long's range saturates and a
    // value beyond int's range keeps its low 32 bits.
    const long value = ::strtol_l(text, nullptr, 10, CLocale::Instance().get());
    return static_cast<std::int32_t>(value);
}

double ReadDouble(const char* text) {
    return ::strtod_l(text, nullptr, CLocale::Instance().get());
}

std::int32_t ReadInt(std::string_view text) {
    if (IsPlainDecimal(text, kPlainIntLength, false)) {
        std::int32_t value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc() && result.ptr == text.data() + text.size()) {
            return value;
        }
    }
    // The C library reads up to a NUL, which a view need not end with.
    return ReadInt(std::string(text).c_str());
}

double ReadDouble(std::string_view text) {
    double value = 0.0;
    if (ReadExactPlainDecimal(text, value)) {
        return value;
    }
    if (IsPlainDecimal(text, kPlainDoubleLength, true)) {
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc() && result.ptr == text.data() + text.size()) {
            return value;
        }
    }
    return ReadDouble(std::string(text).c_str());
}

void AppendInt(std::string& out, std::int64_t value) {
    std::array<char, 24> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    out.append(text.data(), result.ptr);
}

void AppendFixed(std::string& out, double value) {
    // printf spells the values without digits in lower case and keeps a NaN's sign; to_chars
    // agrees on infinities but is not documented to keep the sign of NaN, so NaN is written here.
    if (std::isnan(value)) {
        out += std::signbit(value) ? std::string_view("-nan") : std::string_view("nan");
        return;
    }
    std::array<char, kMaxFixedLength + 8> text{};
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 6);
    out.append(text.data(), result.ptr);
}

std::string FixedText(double value) {
    std::string text;
    AppendFixed(text, value);
    return text;
}

}  // namespace zandrel::mapfile
