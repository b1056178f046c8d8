#include "map/TextureName.h"

#include <cstring>

namespace zandrel::map {

bool TextureName::Assign(std::string_view name) {
    if (name.size() > kMaxLength || name.find('\0') != std::string_view::npos) {
        return false;
    }
    std::memcpy(bytes_.data(), name.data(), name.size());
    bytes_[name.size()] = '\0';
    return true;
}

std::string_view TextureName::View() const {
    return std::string_view(bytes_.data(), ::strnlen(bytes_.data(), kCapacity));
}

}  // namespace zandrel::map
