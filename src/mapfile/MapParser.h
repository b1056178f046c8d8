#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>

#include "mapfile/MarkupElement.h"

namespace zandrel::mapfile {

enum class ParseStatus {
    Ok,
    CannotOpen,     // no message written
    SyntaxError,    // "parse error at line N"
    StackOverflow,  // "parser stack overflow at line N"
    NameMismatch,   // a closing tag names another element; no message written
    ReadError,      // "read error at line N"
    OutOfMemory,    // "out of memory at line N"
};

struct ParseOptions {
    // Where the reader's "<message> at line <n>" diagnostics go; nullptr discards them.
    std::FILE* diagnostics = stderr;
    // Characters that no scanner rule takes are copied here; nullptr discards them.
    std::FILE* strayOutput = stdout;
    // Whether an ordinary attribute is scanned as one token instead of five. Both give the same
    // results; the slower way stays for tests that compare the two.
    bool attributeTokens = true;
};

struct ParseResult {
    ParseStatus status = ParseStatus::CannotOpen;
    std::optional<MarkupElement> root;  // present exactly when status is Ok
    int line = 0;                       // line counter when the parse ended
    int openError = 0;                  // errno of a failed open

    bool ok() const { return status == ParseStatus::Ok; }
};

// Reads a map file (a small XML subset) into an element tree. Each call has its own scanner and
// parser state, so parses never disturb each other, and nothing in here exits the process.
ParseResult ParseMapFile(const std::filesystem::path& path, const ParseOptions& options = {});
ParseResult ParseMapStream(std::FILE* stream, const ParseOptions& options = {});
ParseResult ParseMapText(std::string_view text, const ParseOptions& options = {});

}  // namespace zandrel::mapfile
