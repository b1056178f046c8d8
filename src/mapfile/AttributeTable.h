#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
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
//
// Names and values are kept end to end in one character store, each entry a pair of places in
// it: a full map's 25,000 attributes then take half the memory that a pair of strings each
// would, and filling the table allocates nothing per attribute. Views the table hands out stay
// valid until the next Set or InsertAbsent.
class AttributeTable {
public:
    using Entry = std::pair<std::string_view, std::string_view>;

    // The value stored under name, or nothing when the table has no such name.
    std::optional<std::string_view> Find(std::string_view name) const;
    // Stores value under name, replacing an earlier value.
    void Set(std::string_view name, std::string_view value);
    // Room for count attributes of about bytes characters in all, for a parser that knows about
    // how many are coming.
    void Reserve(std::size_t count, std::size_t bytes);
    // Inserts each of names that is absent, with an empty value: many inserting lookups of names
    // that were found absent, at the cost of one merge.
    void InsertAbsent(std::vector<std::string> names);

    // Every attribute as the document gave it, earlier values of a repeated name included (they
    // come before the value that stands). Once the table has been ordered, the ordered entries.
    template <typename Visit>
    void ForEachInDocumentOrder(Visit&& visit) const {
        for (const Stored& entry : entries_) {
            visit(View(entry.name), View(entry.value));
        }
    }

    // A name's or a value's place in the table, for indexes of many values: half the size of a
    // view. It stays valid until the next Set or InsertAbsent.
    struct Place {
        std::uint32_t offset = 0;
        std::uint32_t length = 0;
    };
    std::string_view View(Place place) const {
        return {chars_.data() + place.offset, place.length};
    }
    // As ForEachInDocumentOrder, with each value given by its place.
    template <typename Visit>
    void ForEachPlaceInDocumentOrder(Visit&& visit) const {
        for (const Stored& entry : entries_) {
            visit(View(entry.name), entry.value);
        }
    }

    std::size_t size() const { return Ordered().size(); }
    bool empty() const { return entries_.empty(); }
    // The ordered entries, each a pair of views.
    class const_iterator;
    const_iterator begin() const;
    const_iterator end() const;

private:
    struct Stored {
        Place name;
        Place value;
    };

    // Orders entries by name, byte-wise; and an entry against a name.
    auto ByName() const {
        return [this](const Stored& left, const Stored& right) {
            return View(left.name) < View(right.name);
        };
    }
    auto NameBelow() const {
        return
            [this](const Stored& entry, std::string_view name) { return View(entry.name) < name; };
    }
    Place Keep(std::string_view text);
    // Sorts by name and drops all but the last value of each name, once.
    const std::vector<Stored>& Ordered() const;

    std::string chars_;
    // Mutable because ordering changes how the entries are held, not what the table holds.
    mutable std::vector<Stored> entries_;
    mutable bool ordered_ = true;
};

class AttributeTable::const_iterator {
public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using reference = Entry;
    using pointer = void;

    const_iterator(const AttributeTable& table, std::vector<Stored>::const_iterator at)
        : table_(&table), at_(at) {}
    Entry operator*() const { return {table_->View(at_->name), table_->View(at_->value)}; }
    const_iterator& operator++() {
        ++at_;
        return *this;
    }
    const_iterator operator++(int) {
        const_iterator before = *this;
        ++at_;
        return before;
    }
    bool operator==(const const_iterator& other) const { return at_ == other.at_; }

private:
    const AttributeTable* table_;
    std::vector<Stored>::const_iterator at_;
};

inline AttributeTable::const_iterator AttributeTable::begin() const {
    return {*this, Ordered().begin()};
}

inline AttributeTable::const_iterator AttributeTable::end() const {
    return {*this, Ordered().end()};
}

}  // namespace zandrel::mapfile
