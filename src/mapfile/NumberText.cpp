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
