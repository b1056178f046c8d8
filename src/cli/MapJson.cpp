#include "cli/MapJson.h"

#include <cstdio>
#include <string_view>

namespace zandrel::cli {

namespace {

void WriteString(std::ostream& out, std::string_view text) {
    out << '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
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
                if (byte < 0x20 || byte >= 0x80) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
                    out << escaped;
                } else {
                    out << c;
                }
        }
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
