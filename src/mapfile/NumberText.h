#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zandrel::mapfile {

// Numbers as map files hold them, read and written by the rules of the "C" locale whatever locale
// the process runs under: the GUI library sets the C library's locale from the environment, and
// under a comma-decimal locale atof("1.25") is 1 and printf("%f") writes "1,250000".

// What atoi gives in the "C" locale: leading blanks and a sign, digits up to the first other
// character, 0 when there are none; out of range values wrap as (int)strtol does.
std::int32_t ReadInt(const char* text);
std::int32_t ReadInt(std::string_view text);

// What atof gives in the "C" locale: strtod's syntax (exponents, hex floats, "inf", "nan"),
// stopping at the first character that does not fit; 0.0 when no number starts the text.
double ReadDouble(const char* text);
double ReadDouble(std::string_view text);

// Appends value as printf("%d") writes it.
void AppendInt(std::string& out, std::int64_t value);

// Appends value as printf("%f") writes it in the "C" locale: fixed notation, six decimals, a dot;
// "inf", "-inf", "nan" and "-nan" for the values that have no digits.
void AppendFixed(std::string& out, double value);

// The same as a string of its own.
std::string FixedText(double value);

}  // namespace zandrel::mapfile
