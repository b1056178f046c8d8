#pragma once

#include <cstddef>
#include <vector>

namespace zandrel::mapfile {

// Where the input held NUL bytes. Flex keeps NUL as its end-of-buffer mark, and every NUL met
// inside a token sends it back to rescan the token from its start, so a run of n NULs costs n^2.
// The reader therefore hands the scanner \x01 in place of each NUL, which the scanner's rules
// cannot tell apart from NUL (neither byte is named by any rule), and the bytes are put back
// into each token's text from the runs recorded here.
class NulMask {
public:
    // Replaces each NUL of bytes (which start at input offset `offset`, right after the bytes
    // of the previous call) with \x01 and records where it was.
    void Hide(char* bytes, std::size_t count, std::size_t offset);
    // Puts NUL back wherever the input held one, for bytes that start at input offset `offset`.
    void Restore(char* bytes, std::size_t count, std::size_t offset) const;
    // Whether any input byte in [offset, offset + count) was a NUL. Asked of every token, and
    // most files hold no NUL at all: that case is one comparison.
    bool Touches(std::size_t offset, std::size_t count) const {
        return !runs_.empty() && TouchesARun(offset, count);
    }

private:
    struct Run {
        std::size_t begin;
        std::size_t end;
    };
    // The first run that ends after offset; runs are disjoint and in input order.
    std::vector<Run>::const_iterator FirstEndingAfter(std::size_t offset) const;
    bool TouchesARun(std::size_t offset, std::size_t count) const;

    std::vector<Run> runs_;
};

}  // namespace zandrel::mapfile
