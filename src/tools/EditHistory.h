#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "map/MapGrid.h"
#include "tools/MapDelta.h"

namespace zandrel::tools {

// Who made an edit and as what: the command's name, the window (or script) it came from, and
// for a terrain tool application the undo step it belongs to (EditOutcome::undoStep).
struct EditLabel {
    std::string_view name;
    std::uint64_t source = 0;
    std::uint64_t undoStep = 0;
};

struct HistoryEntry {
    // Numbers count from 1 in the order entries were made and stay with their entry while
    // older ones are dropped.
    std::uint64_t number = 0;
    std::string name;
    // When the entry last changed.
    std::chrono::system_clock::time_point time;
    MapDelta delta;
    std::uint64_t source = 0;
    std::uint64_t undoStep = 0;

    std::size_t Bytes() const;
};

// The edits of one open map, oldest first, each as what it changed, never as a copy of the
// map: any kept entry's state can be had again from the map as it is now by putting back the
// values every later entry found. A run of tool applications on one selection from one window
// (a mouse stroke, wheel notches) is one entry, as it is one undo step. Past the limit, or past
// kByteBudget in all, the oldest entries go first.
class EditHistory {
public:
    using Clock = std::chrono::system_clock;
    static constexpr std::size_t kDefaultLimit = 1000;
    static constexpr std::size_t kByteBudget = 20'000'000;

    EditHistory();
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    // One edit from before to after. Content that changed where a save sees it makes an entry,
    // or extends the last one when label continues its undo step; content that changed only
    // where no save looks (cells beyond the map's size) goes into the last entry unnamed, so
    // returning past it still gives the grid back exactly. True when the entries changed.
    bool Record(const map::MapGrid& before, const map::MapGrid& after, const EditLabel& label,
                Clock::time_point time);

    // Puts grid's content back to its state just after entry number, from grid's state after
    // the newest entry; false, and grid untouched, when no such entry is kept.
    bool ReturnTo(std::uint64_t number, map::MapGrid& grid) const;

    const std::deque<HistoryEntry>& Entries() const { return entries_; }
    const HistoryEntry* Find(std::uint64_t number) const;
    std::size_t Bytes() const { return bytes_; }
    std::size_t Limit() const { return limit_; }
    // At least one entry is always kept; a lower limit drops the oldest at once.
    void SetLimit(std::size_t limit);
    // A new or reopened map starts a history of its own, numbered from 1.
    void Clear();

private:
    bool Continues(const HistoryEntry& entry, const EditLabel& label) const;
    // The entry's delta becomes the one from its own starting point to after.
    void Extend(HistoryEntry& entry, const map::MapGrid& before, const map::MapGrid& after);
    void Trim();

    std::deque<HistoryEntry> entries_;
    // Where Extend rebuilds an entry's starting state; a grid is too large to make per edit.
    std::unique_ptr<map::MapGrid> scratch_;
    std::uint64_t nextNumber_ = 1;
    std::size_t limit_ = kDefaultLimit;
    std::size_t bytes_ = 0;
};

}  // namespace zandrel::tools
