#include "mapfile/MapParser.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <utility>

#include <sys/stat.h>

#include "MapGrammar.h"
#include "MapScanner.h"
#include "mapfile/ParseState.h"

namespace zandrel::mapfile {

ParseState::ParseState(std::string input, bool inputReadFailed, const ParseOptions& parseOptions)
    : buffer(std::move(input)), options(parseOptions), readFailed(inputReadFailed) {
    nuls.Hide(buffer.data(), buffer.size(), 0);
    buffer.append(2, '\0');
}

AttributeTable* ParseState::NewTable() {
    const bool first = tables.empty();
    AttributeTable* table = &tables.emplace_back();
    if (first) {
        // Guessed from the size rather than counted: a map's attribute lines are about 20 bytes,
        // and room reserved beyond what is used costs no memory until it is written.
        constexpr std::size_t kFullMapAttributes = 32 * 1024;
        constexpr std::size_t kShortestAttributeLine = 16;
        table->Reserve(std::min(buffer.size() / kShortestAttributeLine, kFullMapAttributes),
                       buffer.size());
    }
    return table;
}

void ParseState::Stray(const char* bytes, std::size_t length) {
    if (options.strayOutput == nullptr) {
        return;
    }
    const std::size_t at = strayPending.size();
    strayPending.append(bytes, length);
    const auto offset = static_cast<std::size_t>(bytes - buffer.data());
    if (nuls.Touches(offset, length)) {
        nuls.Restore(strayPending.data() + at, length, offset);
    }
    constexpr std::size_t kStrayPiece = 64 * 1024;
    if (strayPending.size() >= kStrayPiece) {
        FlushStray();
    }
}

void ParseState::FlushStray() {
    if (!strayPending.empty()) {
        std::fwrite(strayPending.data(), 1, strayPending.size(), options.strayOutput);
    }
    strayPending.clear();
}

void ParseState::Report(ParseStatus failure, const char* message) {
    if (status != ParseStatus::Ok) {
        return;
    }
    status = failure;
    // What came before the failure is out first, should both go to one stream.
    FlushStray();
    if (options.diagnostics != nullptr) {
        std::fprintf(options.diagnostics, "%s at line %d\n", message, line);
    }
}

void* ParseState::StackAlloc(std::size_t size) {
    void* block = std::malloc(size);
    if (block == nullptr) {
        stackAllocFailed = true;
        return nullptr;
    }
    stackBlocks.push_back(block);
    return block;
}

void ParseState::StackFree(void* block) {
    const auto it = std::find(stackBlocks.begin(), stackBlocks.end(), block);
    if (it != stackBlocks.end()) {
        stackBlocks.erase(it);
    }
    std::free(block);
}

namespace {

// Owns one reentrant scanner for the length of a parse.
class Scanner {
public:
    explicit Scanner(ParseState& state) { initialised_ = yylex_init_extra(&state, &scanner_) == 0; }
    Scanner(const Scanner&) = delete;
    Scanner& operator=(const Scanner&) = delete;
    ~Scanner() {
        if (initialised_) {
            yylex_destroy(scanner_);
        }
    }
    bool ok() const { return initialised_; }
    yyscan_t get() const { return scanner_; }

private:
    yyscan_t scanner_ = nullptr;
    bool initialised_ = false;
};

// The whole stream, or what came before a read error (the flag says which).
std::pair<std::string, bool> ReadAll(std::FILE* stream) {
    std::string input;
    // A regular file's size lets one read take it all; the next read then finds its end. The
    // two bytes to spare are the end marks the scanner's buffer needs after the input.
    struct stat info {};
    std::size_t chunk = 64 * 1024;
    if (::fstat(::fileno(stream), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        chunk = static_cast<std::size_t>(info.st_size) + 2;
    }
    for (;;) {
        const std::size_t used = input.size();
        input.resize(used + chunk);
        const std::size_t count = std::fread(input.data() + used, 1, chunk, stream);
        input.resize(used + count);
        if (count < chunk) {
            return {std::move(input), std::ferror(stream) != 0};
        }
        chunk = std::max(chunk, input.size());
    }
}

// No room for the input itself: the parse fails before its first line.
ParseResult NoRoomForInput(const ParseOptions& options) {
    ParseResult result;
    result.status = ParseStatus::OutOfMemory;
    result.line = 1;
    if (options.diagnostics != nullptr) {
        std::fprintf(options.diagnostics, "out of memory at line 1\n");
    }
    return result;
}

// May throw std::bad_alloc while taking over the input, before parsing starts.
ParseResult Parse(std::string input, bool readFailed, const ParseOptions& options) {
    ParseState state(std::move(input), readFailed, options);
    try {
        const Scanner scanner(state);
        if (!scanner.ok() ||
            yy_scan_buffer(state.ScanBuffer(), state.ScanBufferSize(), scanner.get()) == nullptr) {
            throw std::bad_alloc();
        }
        const int rc = yyparse(scanner.get(), state);
        if (state.readFailed) {
            // The input ends where reading failed; whatever parsed there is not the file.
            state.Report(ParseStatus::ReadError, "read error");
        } else if (rc != 0 && state.status == ParseStatus::Ok) {
            state.Report(ParseStatus::SyntaxError, "parse error");
        }
    } catch (const std::bad_alloc&) {
        state.Report(ParseStatus::OutOfMemory, "out of memory");
    }

    ParseResult result;
    result.status = state.status;
    result.line = state.line;
    if (result.ok() && state.root != nullptr) {
        result.root = std::move(*state.root);
    }
    return result;
}

}  // namespace

ParseResult ParseMapStream(std::FILE* stream, const ParseOptions& options) {
    try {
        auto [input, readFailed] = ReadAll(stream);
        return Parse(std::move(input), readFailed, options);
    } catch (const std::bad_alloc&) {
        return NoRoomForInput(options);
    }
}

ParseResult ParseMapText(std::string_view text, const ParseOptions& options) {
    try {
        return Parse(std::string(text), false, options);
    } catch (const std::bad_alloc&) {
        return NoRoomForInput(options);
    }
}

ParseResult ParseMapFile(const std::filesystem::path& path, const ParseOptions& options) {
    std::FILE* stream = std::fopen(path.c_str(), "r");
    if (stream == nullptr) {
        ParseResult failed;
        failed.openError = errno;
        return failed;
    }
    ParseResult result = ParseMapStream(stream, options);
    std::fclose(stream);
    return result;
}

}  // namespace zandrel::mapfile
