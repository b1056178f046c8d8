#include "mapfile/AttributeTable.h"

#include <algorithm>
#include <limits>
#include <new>

namespace zandrel::mapfile {

AttributeTable::Place AttributeTable::Keep(std::string_view text) {
    // Places are 32-bit: a table past 4 GB of text is refused as memory the parse cannot have.
    constexpr std::size_t kMaxChars = std::numeric_limits<std::uint32_t>::max();
    if (text.size() >= kMaxChars - chars_.size()) {
        throw std::bad_alloc();
    }
    const Place place{static_cast<std::uint32_t>(chars_.size()),
                      static_cast<std::uint32_t>(text.size())};
    chars_.append(text);
    return place;
}

void AttributeTable::Reserve(std::size_t count, std::size_t bytes) {
    entries_.reserve(count);
    chars_.reserve(bytes);
}

const std::vector<AttributeTable::Stored>& AttributeTable::Ordered() const {
    if (ordered_) {
        return entries_;
    }
    // Stable, so the values of one name keep their document order and the last one can be kept.
    std::stable_sort(entries_.begin(), entries_.end(), ByName());
    auto kept = entries_.begin();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        const auto next = std::next(it);
        if (next != entries_.end() && View(next->name) == View(it->name)) {
            continue;
        }
        *kept = *it;
        ++kept;
    }
    entries_.erase(kept, entries_.end());
    ordered_ = true;
    return entries_;
}

std::optional<std::string_view> AttributeTable::Find(std::string_view name) const {
    const std::vector<Stored>& entries = Ordered();
    const auto it = std::lower_bound(entries.begin(), entries.end(), name, NameBelow());
    if (it == entries.end() || View(it->name) != name) {
        return std::nullopt;
    }
    return View(it->value);
}

void AttributeTable::Set(std::string_view name, std::string_view value) {
    if (ordered_ && !entries_.empty() && View(entries_.back().name) >= name) {
        ordered_ = false;
    }
    const Place keptName = Keep(name);
    entries_.push_back(Stored{keptName, Keep(value)});
}

void AttributeTable::InsertAbsent(std::vector<std::string> names) {
    if (names.empty()) {
        return;
    }
    Ordered();
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    const std::size_t before = entries_.size();
    for (const std::string& name : names) {
        // Only among the entries there were: the new ones are ordered in by the merge below.
        const auto end = entries_.begin() + static_cast<std::ptrdiff_t>(before);
        const auto it = std::lower_bound(entries_.begin(), end, name, NameBelow());
        if (it == end || View(it->name) != name) {
            entries_.push_back(Stored{Keep(name), Place{}});
        }
    }
    std::inplace_merge(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(before),
                       entries_.end(), ByName());
}

}  // namespace zandrel::mapfile
