#pragma once

#include <map>
#include <string>
#include <string_view>

namespace zandrel::mapfile {

// An element's attributes: one value per name, ordered by byte-wise comparison of the names.
class AttributeTable {
public:
    using Entries = std::map<std::string, std::string, std::less<>>;

    // The value stored under name; an absent name is first inserted with an empty value, so a
    // lookup never fails and a missing attribute reads as "".
    std::string& Lookup(std::string_view name);
    // Non-inserting lookup for readers that must not change the table; nullptr when absent.
    const std::string* Find(std::string_view name) const;
    // Stores value under name, replacing an earlier value.
    void Set(std::string name, std::string value);

    std::size_t size() const { return entries_.size(); }
    bool empty() const { return entries_.empty(); }
    Entries::const_iterator begin() const { return entries_.begin(); }
    Entries::const_iterator end() const { return entries_.end(); }

private:
    Entries entries_;
};

}  // namespace zandrel::mapfile
