#include "mapfile/AttributeTable.h"

#include <algorithm>

namespace zandrel::mapfile {

namespace {

// Orders entries and names alike by byte-wise comparison of the names.
struct ByName {
    static std::string_view Name(const AttributeTable::Entry& entry) { return entry.first; }
    static std::string_view Name(std::string_view name) { return name; }
    template <typename Left, typename Right>
    bool operator()(const Left& left, const Right& right) const {
        return Name(left) < Name(right);
    }
};

}  // namespace

const AttributeTable::Entries& AttributeTable::Ordered() const {
    if (ordered_) {
        return entries_;
    }
    // Stable, so the values of one name keep their document order and the last one can be kept.
    std::stable_sort(entries_.begin(), entries_.end(), ByName{});
    auto kept = entries_.begin();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        const auto next = std::next(it);
        if (next != entries_.end() && next->first == it->first) {
            continue;
        }
        if (kept != it) {
            *kept = std::move(*it);
        }
        ++kept;
    }
    entries_.erase(kept, entries_.end());
    ordered_ = true;
    return entries_;
}

AttributeTable::Entries::iterator AttributeTable::LowerBound(std::string_view name) {
    Ordered();
    return std::lower_bound(entries_.begin(), entries_.end(), name, ByName{});
}

std::string& AttributeTable::Lookup(std::string_view name) {
    auto it = LowerBound(name);
    if (it == entries_.end() || it->first != name) {
        it = entries_.emplace(it, std::string(name), std::string());
    }
    return it->second;
}

const std::string* AttributeTable::Find(std::string_view name) const {
    const Entries& entries = Ordered();
    const auto it = std::lower_bound(entries.begin(), entries.end(), name, ByName{});
    return it == entries.end() || it->first != name ? nullptr : &it->second;
}

void AttributeTable::Set(std::string_view name, std::string_view value) {
    if (ordered_ && !entries_.empty() && entries_.back().first >= name) {
        ordered_ = false;
    }
    entries_.emplace_back(std::string(name), std::string(value));
}

void AttributeTable::InsertAbsent(std::vector<std::string> names) {
    if (names.empty()) {
        return;
    }
    Ordered();
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    const std::size_t before = entries_.size();
    for (std::string& name : names) {
        if (!std::binary_search(entries_.begin(), entries_.begin() + before, name, ByName{})) {
            entries_.emplace_back(std::move(name), std::string());
        }
    }
    std::inplace_merge(entries_.begin(), entries_.begin() + before, entries_.end(), ByName{});
}

}  // namespace zandrel::mapfile
