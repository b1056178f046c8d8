#include "mapfile/MapParser.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "MapGrammar.h"
#include "MapScanner.h"
#include "mapfile/ParseState.h"

namespace zandrel::mapfile {

std::size_t ParseState::Read(char* buffer, std::size_t size) {
    std::size_t count = 0;
    if (stream == nullptr) {
        count = std::min(size, text.size());
        std::memcpy(buffer, text.data(), count);
        text.remove_prefix(count);
    } else {
        count = std::fread(buffer, 1, size, stream);
        if (count == 0 && std::ferror(stream)) {
            readFailed = true;
        }
    }
    nuls.Hide(buffer, count, readOffset);
    readOffset += count;
    return count;
}

std::string* ParseState::TokenString(const char* bytes, std::size_t length) {
    std::string& token = strings.emplace_back(bytes, length);
    nuls.Restore(token.data(), length, tokenOffset);
    return &token;
}

void ParseState::Stray(const char* bytes, std::size_t length) const {
    if (options.strayOutput == nullptr) {
        return;
    }
    if (!nuls.Touches(tokenOffset, length)) {
        std::fwrite(bytes, 1, length, options.strayOutput);
        return;
    }
    std::string token(bytes, length);
    nuls.Restore(token.data(), length, tokenOffset);
    std::fwrite(token.data(), 1, length, options.strayOutput);
}

void ParseState::Report(ParseStatus failure, const char* message) {
    if (status != ParseStatus::Ok) {
        return;
    }
    status = failure;
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

ParseResult Parse(std::FILE* stream, std::string_view text, const ParseOptions& options) {
    ParseState state(stream, text, options);
    try {
        const Scanner scanner(state);
        if (!scanner.ok()) {
            throw std::bad_alloc();
        }
        const int rc = yyparse(scanner.get(), state);
        if (state.readFailed) {
            // The scanner saw a failed read as the end of input; whatever parsed is not the file.
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
    return Parse(stream, {}, options);
}

ParseResult ParseMapText(std::string_view text, const ParseOptions& options) {
    return Parse(nullptr, text, options);
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
