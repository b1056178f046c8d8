#pragma once

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string>
#include <string_view>

#include "mapfile/MapParser.h"
#include "mapfile/MarkupElement.h"
#include "mapfile/NulMask.h"

namespace zandrel::mapfile {

// The parser's stack starts with room for this many states and doubles up to the maximum; a
// parse that needs more fails.
inline constexpr int kInitialParseDepth = 200;
inline constexpr int kMaxParseDepth = 10000;

// Everything one parse owns, shared by the scanner (as its extra data) and the parser (as a
// parse parameter). The whole input sits in one buffer that the scanner reads in place, so token
// values are views into it that stay valid for the whole parse; partly built elements live in
// the arenas below, so a parse that fails at any point, or is cut short by an exception, frees
// them all at once.
struct ParseState {
    // input is the whole file; readFailed says that reading it stopped at an error, so input
    // holds only what came before.
    ParseState(std::string input, bool inputReadFailed, const ParseOptions& parseOptions);
    ParseState(const ParseState&) = delete;
    ParseState& operator=(const ParseState&) = delete;
    ~ParseState() {
        FlushStray();
        for (void* block : stackBlocks) {
            std::free(block);
        }
    }

    // The buffer the scanner reads: the input with each NUL replaced by \x01 (see NulMask),
    // followed by the two NULs that mark the end of a scanner buffer.
    char* ScanBuffer() { return buffer.data(); }
    std::size_t ScanBufferSize() const { return buffer.size(); }

    // The current token's text as the input held it, NULs included; the bytes stay in the
    // buffer, which the scanner no longer reads once it has matched them.
    std::string_view TokenText(char* bytes, std::size_t length) {
        const auto offset = static_cast<std::size_t>(bytes - buffer.data());
        if (nuls.Touches(offset, length)) {
            nuls.Restore(bytes, length, offset);
        }
        return {bytes, length};
    }
    // The current token, a character no scanner rule takes. A map has a run of them on every
    // line, so they are held back and written in large pieces, in the same order.
    void Stray(const char* bytes, std::size_t length);
    // Writes what is held back; also on destruction, so a parse that ends any way leaves none.
    void FlushStray();
    // "<message> at line <n>" on the diagnostics stream, once per parse.
    void Report(ParseStatus failure, const char* message);

    MarkupElement* NewElement() { return &elements.emplace_back(); }
    // The first table is the root element's, which in a map holds nearly every attribute: it gets
    // room for as many as the input could hold, up to a full map's worth.
    AttributeTable* NewTable();

    // The parser's stack blocks beyond its initial one; tracked so nothing leaks on an abort.
    void* StackAlloc(std::size_t size);
    void StackFree(void* block);

    std::string buffer;
    const ParseOptions& options;
    NulMask nuls;
    std::string strayPending;

    int line = 1;
    bool beginPending = true;    // the scanner enters its content condition on its first call
    bool tagJustOpened = false;  // "<" was the last token: a name now is an element's
    int valueReturn = 0;         // the scanner condition a value's closing quote returns to
    int attributesDepth = 0;     // parser states up to the attributes of the element being read
    bool readFailed = false;
    bool stackAllocFailed = false;
    ParseStatus status = ParseStatus::Ok;
    MarkupElement* root = nullptr;

    std::deque<MarkupElement> elements;
    std::deque<AttributeTable> tables;
    std::deque<void*> stackBlocks;
};

}  // namespace zandrel::mapfile
