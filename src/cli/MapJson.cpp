#include "cli/MapJson.h"

#include <cstdio>
#include <string_view>

namespace zandrel::cli {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at the start of text, or 0 when there is none; then
// `taken` is the length of its longest ill-formed start (at least 1), which stands for one
// U+FFFD. The second byte's range rules out overlong forms, surrogates and code points above
// U+10FFFF.
std::size_t Utf8Sequence(std::string_view text, std::size_t& taken) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
        length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    taken = 1;
    if (length == 0) {
        return 0;
    }
    for (; taken < length && taken < text.size(); ++taken) {
        const auto byte = static_cast<unsigned char>(text[taken]);
        const bool fits = taken == 1 ? byte >= low && byte <= high : IsContinuation(byte);
        if (!fits) {
            return 0;
        }
    }
    return taken == length ? length : 0;
}

void WriteEscaped(std::ostream& out, unsigned code) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", code);
    out << escaped;
}

// Text that is valid UTF-8 is written as it stands; each ill-formed part becomes one \ufffd, so
// the output is valid UTF-8 whatever the file held. Control characters (C0 and C1) are escaped.
void WriteString(std::ostream& out, std::string_view text) {
    out << '"';
    while (!text.empty()) {
        std::size_t taken = 1;
        const std::size_t length = Utf8Sequence(text, taken);
        const auto byte = static_cast<unsigned char>(text[0]);
        if (length == 0) {
            out << "\\ufffd";
        } else if (length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[1]) < 0xA0) {
            WriteEscaped(out, static_cast<unsigned char>(text[1]));
        } else if (length > 1) {
            out.write(text.data(), static_cast<std::streamsize>(length));
        } else {
            switch (byte) {
                case '"':
                    out << "\\\"";
                    break;
                case '\\':
                    out << "\\\\";
                    break;
                case '\n':
                    out << "\\n";
                    break;
                case '\r':
                    out << "\\r";
                    break;
                case '\t':
                    out << "\\t";
                    break;
                case '\b':
                    out << "\\b";
                    break;
                case '\f':
                    out << "\\f";
                    break;
                default:
                    if (byte < 0x20) {
                        WriteEscaped(out, byte);
                    } else {
                        out << text[0];
                    }
            }
        }
        text.remove_prefix(taken);
    }
    out << '"';
}

}  // namespace

void WriteElementJson(std::ostream& out, const mapfile::MarkupElement& element) {
    out << "{\"name\": ";
    WriteString(out, element.name);
    out << ", \"attributes\": {";
    const char* separator = "";
    for (const auto& [name, value] : element.attributes) {
        out << separator;
        WriteString(out, name);
        out << ": ";
        WriteString(out, value);
        separator = ", ";
    }
    out << "}, \"text\": ";
    WriteString(out, element.text);
    out << ", \"children\": [";
    separator = "";
    for (const mapfile::MarkupElement& child : element.children) {
        out << separator;
        WriteElementJson(out, child);
        separator = ", ";
    }
    out << "]}";
}

void WriteJsonString(std::ostream& out, std::string_view text) {
    WriteString(out, text);
}

}  // namespace zandrel::cli
