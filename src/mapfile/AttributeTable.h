#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zandrel::mapfile {

// An element's attributes: one value per name, ordered by byte-wise comparison of the names.
//
// The parser appends attributes in document order and most readers only walk them once, so the
// entries stay in document order until something asks for the ordered view (iteration, size, a
// lookup); they are then sorted once, and of names given more than once the last value stays.
// Readers that walk every attribute anyway use ForEachInDocumentOrder and never pay for the sort.
class AttributeTable {
public:
    using Entry = std::pair<std::string, std::string>;
    using Entries = std::vector<Entry>;

    // The value stored under name; an absent name is first inserted with an empty value, so a
    // lookup never fails and a missing attribute reads as "".
    std::string& Lookup(std::string_view name);
    // Non-inserting lookup for readers that must not change the table; nullptr when absent.
    const std::string* Find(std::string_view name) const;
    // Stores value under name, replacing an earlier value.
    void Set(std::string_view name, std::string_view value);
    // Room for count attributes, for a parser that knows about how many are coming.
    void Reserve(std::size_t count) { entries_.reserve(count); }
    // Inserts each of names that is absent, with an empty value: many inserting lookups of names
    // that were found absent, at the cost of one merge.
    void InsertAbsent(std::vector<std::string> names);

    // Every attribute as the document gave it, earlier values of a repeated name included (they
    // come before the value that stands). Once the table has been ordered, the ordered entries.
    template <typename Visit>
    void ForEachInDocumentOrder(Visit&& visit) const {
        for (const Entry& entry : entries_) {
            visit(std::string_view(entry.first), entry.second);
        }
    }

    std::size_t size() const { return Ordered().size(); }
    bool empty() const { return entries_.empty(); }
    Entries::const_iterator begin() const { return Ordered().begin(); }
    Entries::const_iterator end() const { return Ordered().end(); }

private:
    // Sorts by name and drops all but the last value of each name, once.
    const Entries& Ordered() const;
    Entries::iterator LowerBound(std::string_view name);

    // Mutable because ordering changes how the entries are held, not what the table holds.
    mutable Entries entries_;
    mutable bool ordered_ = true;
};

}  // namespace zandrel::mapfile
