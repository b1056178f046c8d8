#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zandrel::tools {

// A sequence of 64-bit values kept as runs of equal values when that is smaller, as plain
// values otherwise. Edits mostly leave blocks of equal values (a flat area, one texture, one
// gravity), which runs keep in a few bytes; a varied terrain costs its values and no more.
class PackedValues {
public:
    PackedValues() = default;
    static PackedValues Pack(std::span<const std::uint64_t> values);

    std::size_t Count() const { return count_; }
    // What the values hold on the heap.
    std::size_t HeapBytes() const {
        return values_.capacity() * sizeof(std::uint64_t) + runs_.capacity() * sizeof(RunLength);
    }

    // Calls visit(value) for every value in order.
    template <typename Visit>
    void ForEach(Visit visit) const {
        if (runs_.empty()) {
            for (const std::uint64_t value : values_) {
                visit(value);
            }
            return;
        }
        for (std::size_t i = 0; i < values_.size(); ++i) {
            for (RunLength k = 0; k < runs_[i]; ++k) {
                visit(values_[i]);
            }
        }
    }

private:
    // A map holds 2,500 cells, so a run fits 16 bits; longer ones are split.
    using RunLength = std::uint16_t;

    std::vector<std::uint64_t> values_;
    // runs_[i] copies of values_[i]; empty when values_ holds every value once.
    std::vector<RunLength> runs_;
    std::size_t count_ = 0;
};

}  // namespace zandrel::tools
