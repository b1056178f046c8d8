#include "mapfile/AttributeTable.h"

namespace zandrel::mapfile {

std::string& AttributeTable::Lookup(std::string_view name) {
    auto it = entries_.lower_bound(name);
    if (it == entries_.end() || it->first != name) {
        it = entries_.emplace_hint(it, std::string(name), std::string());
    }
    return it->second;
}

const std::string* AttributeTable::Find(std::string_view name) const {
    const auto it = entries_.find(name);
    return it == entries_.end() ? nullptr : &it->second;
}

void AttributeTable::Set(std::string name, std::string value) {
    entries_.insert_or_assign(std::move(name), std::move(value));
}

}  // namespace zandrel::mapfile
