#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "mapfile/MapParser.h"
#include "mapfile/MarkupElement.h"
#include "mapfile/NulMask.h"

namespace zandrel::mapfile {

// Everything one parse owns, shared by the scanner (as its extra data) and the parser (as a
// parse parameter). Token values and partly built elements live in the arenas below, so a
// parse that fails at any point, or is cut short by an exception, frees them all at once.
struct ParseState {
    ParseState(std::FILE* input, std::string_view memory, const ParseOptions& parseOptions)
        : stream(input), text(memory), options(parseOptions) {}
    ParseState(const ParseState&) = delete;
    ParseState& operator=(const ParseState&) = delete;
    ~ParseState() {
        for (void* block : stackBlocks) {
            std::free(block);
        }
    }

    // Input for the scanner: from the stream, or from text when there is no stream, with each
    // NUL handed over as \x01 (see NulMask).
    std::size_t Read(char* buffer, std::size_t size);
    // Called before each scanner action with the length of its token: tokens follow each other
    // without gaps or overlaps (nothing is pushed back), so this keeps each token's input offset.
    void Advance(std::size_t length) {
        tokenOffset = scanned;
        scanned += length;
    }
    // The current token's text as the input held it, NULs included.
    std::string* TokenString(const char* bytes, std::size_t length);
    // The current token, a character no scanner rule takes.
    void Stray(const char* bytes, std::size_t length) const;
    // "<message> at line <n>" on the diagnostics stream, once per parse.
    void Report(ParseStatus failure, const char* message);

    std::string* NewString() { return &strings.emplace_back(); }
    MarkupElement* NewElement() { return &elements.emplace_back(); }
    AttributeTable* NewTable() { return &tables.emplace_back(); }

    // The parser's stack blocks beyond its initial one; tracked so nothing leaks on an abort.
    void* StackAlloc(std::size_t size);
    void StackFree(void* block);

    std::FILE* stream;
    std::string_view text;
    const ParseOptions& options;

    NulMask nuls;
    std::size_t readOffset = 0;   // input bytes handed to the scanner so far
    std::size_t scanned = 0;      // input bytes matched by the scanner so far
    std::size_t tokenOffset = 0;  // input offset of the current token

    int line = 1;
    bool beginPending = true;  // the scanner enters its content condition on its first call
    bool readFailed = false;
    bool stackAllocFailed = false;
    ParseStatus status = ParseStatus::Ok;
    MarkupElement* root = nullptr;

    std::deque<std::string> strings;
    std::deque<MarkupElement> elements;
    std::deque<AttributeTable> tables;
    std::deque<void*> stackBlocks;
};

}  // namespace zandrel::mapfile
