#include "tools/EditHistory.h"

#include <algorithm>

namespace zandrel::tools {

std::size_t HistoryEntry::Bytes() const {
    const std::size_t nameHeap =
        name.capacity() > std::string().capacity() ? name.capacity() + 1 : 0;
    // The delta counts itself; the entry adds the rest of its own size.
    return sizeof(*this) - sizeof(MapDelta) + nameHeap + delta.Bytes();
}

EditHistory::EditHistory() : scratch_(std::make_unique<map::MapGrid>()) {}

EditHistory::~EditHistory() = default;

bool EditHistory::Record(const map::MapGrid& before, const map::MapGrid& after,
                         const EditLabel& label, Clock::time_point time) {
    MapDelta delta = MapDelta::Between(before, after);
    if (delta.Empty()) {
        return false;
    }
    const bool saved = !before.SameContent(after);
    if (!entries_.empty() && (!saved || Continues(entries_.back(), label))) {
        Extend(entries_.back(), before, after);
        if (saved) {
            entries_.back().time = time;
        }
        Trim();
        return saved;
    }
    // Content no save shows, changed before any entry: no return ever goes back past it.
    if (!saved) {
        return false;
    }
    HistoryEntry& entry = entries_.emplace_back();
    entry.number = nextNumber_++;
    entry.name = std::string(label.name);
    entry.time = time;
    entry.delta = std::move(delta);
    entry.source = label.source;
    entry.undoStep = label.undoStep;
    bytes_ += entry.Bytes();
    Trim();
    return true;
}

bool EditHistory::Continues(const HistoryEntry& entry, const EditLabel& label) const {
    return label.undoStep != 0 && entry.undoStep == label.undoStep &&
           entry.source == label.source && entry.name == label.name;
}

void EditHistory::Extend(HistoryEntry& entry, const map::MapGrid& before,
                         const map::MapGrid& after) {
    *scratch_ = before;
    entry.delta.ApplyBefore(*scratch_);
    bytes_ -= entry.Bytes();
    entry.delta = MapDelta::Between(*scratch_, after);
    bytes_ += entry.Bytes();
}

bool EditHistory::ReturnTo(std::uint64_t number, map::MapGrid& grid) const {
    if (Find(number) == nullptr) {
        return false;
    }
    for (auto entry = entries_.rbegin(); entry != entries_.rend() && entry->number > number;
         ++entry) {
        entry->delta.ApplyBefore(grid);
    }
    return true;
}

const HistoryEntry* EditHistory::Find(std::uint64_t number) const {
    if (entries_.empty() || number < entries_.front().number || number > entries_.back().number) {
        return nullptr;
    }
    // Numbers are consecutive: dropping takes entries from the front only.
    return &entries_[static_cast<std::size_t>(number - entries_.front().number)];
}

void EditHistory::SetLimit(std::size_t limit) {
    limit_ = std::max<std::size_t>(limit, 1);
    Trim();
}

void EditHistory::Clear() {
    entries_.clear();
    nextNumber_ = 1;
    bytes_ = 0;
}

void EditHistory::Trim() {
    while (entries_.size() > limit_ || (entries_.size() > 1 && bytes_ > kByteBudget)) {
        bytes_ -= entries_.front().Bytes();
        entries_.pop_front();
    }
}

}  // namespace zandrel::tools
