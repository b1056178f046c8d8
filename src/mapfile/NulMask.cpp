#include "mapfile/NulMask.h"

#include <algorithm>
#include <cstring>

namespace zandrel::mapfile {

void NulMask::Hide(char* bytes, std::size_t count, std::size_t offset) {
    char* const end = bytes + count;
    char* nul = static_cast<char*>(std::memchr(bytes, '\0', count));
    while (nul != nullptr) {
        char* runEnd = nul;
        while (runEnd != end && *runEnd == '\0') {
            *runEnd++ = '\x01';
        }
        const std::size_t begin = offset + static_cast<std::size_t>(nul - bytes);
        const std::size_t stop = offset + static_cast<std::size_t>(runEnd - bytes);
        if (!runs_.empty() && runs_.back().end == begin) {
            runs_.back().end = stop;  // a run cut by the end of the previous read
        } else {
            runs_.push_back({begin, stop});
        }
        nul = runEnd == end ? nullptr : static_cast<char*>(std::memchr(runEnd, '\0', end - runEnd));
    }
}

std::vector<NulMask::Run>::const_iterator NulMask::FirstEndingAfter(std::size_t offset) const {
    return std::partition_point(runs_.begin(), runs_.end(),
                                [offset](const Run& run) { return run.end <= offset; });
}

void NulMask::Restore(char* bytes, std::size_t count, std::size_t offset) const {
    const std::size_t stop = offset + count;
    for (auto run = FirstEndingAfter(offset); run != runs_.end() && run->begin < stop; ++run) {
        const std::size_t from = std::max(run->begin, offset);
        const std::size_t to = std::min(run->end, stop);
        std::memset(bytes + (from - offset), '\0', to - from);
    }
}

bool NulMask::TouchesARun(std::size_t offset, std::size_t count) const {
    const auto run = FirstEndingAfter(offset);
    return run != runs_.end() && run->begin < offset + count;
}

}  // namespace zandrel::mapfile
