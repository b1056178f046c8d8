#include "tools/PackedValues.h"

#include <limits>

namespace zandrel::tools {

PackedValues PackedValues::Pack(std::span<const std::uint64_t> values) {
    constexpr std::size_t kLongestRun = std::numeric_limits<RunLength>::max();
    std::size_t runs = 0;
    for (std::size_t i = 0, length = 0; i < values.size(); ++i) {
        const bool continues = i > 0 && values[i] == values[i - 1] && length < kLongestRun;
        length = continues ? length + 1 : 1;
        runs += continues ? 0 : 1;
    }
    PackedValues packed;
    packed.count_ = values.size();
    if (runs * (sizeof(std::uint64_t) + sizeof(RunLength)) >=
        values.size() * sizeof(std::uint64_t)) {
        packed.values_.assign(values.begin(), values.end());
        return packed;
    }
    packed.values_.reserve(runs);
    packed.runs_.reserve(runs);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0 && values[i] == values[i - 1] && packed.runs_.back() < kLongestRun) {
            ++packed.runs_.back();
        } else {
            packed.values_.push_back(values[i]);
            packed.runs_.push_back(1);
        }
    }
    return packed;
}

}  // namespace zandrel::tools
