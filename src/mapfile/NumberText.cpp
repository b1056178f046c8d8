#include "mapfile/NumberText.h"

#include <locale.h>

#include <array>
#include <charconv>
#include <cmath>
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

std::int32_t ReadInt(const std::string& text) {
    if (IsPlainDecimal(text, kPlainIntLength, false)) {
        std::int32_t value = 0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc() && result.ptr == text.data() + text.size()) {
            return value;
        }
    }
    return ReadInt(text.c_str());
}

double ReadDouble(const std::string& text) {
    if (IsPlainDecimal(text, kPlainDoubleLength, true)) {
        double value = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
        if (result.ec == std::errc() && result.ptr == text.data() + text.size()) {
            return value;
        }
    }
    return ReadDouble(text.c_str());
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
