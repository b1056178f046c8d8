#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace zandrel::map {

// A texture image file name in a fixed 120-byte NUL-terminated buffer, so that a whole map stays
// one flat value. Names are bytes as typed or read, passed to the image loader unchanged.
class TextureName {
public:
    static constexpr std::size_t kCapacity = 120;
    static constexpr std::size_t kMaxLength = kCapacity - 1;

    TextureName() { bytes_.fill('\0'); }

    // Stores name and returns true, or returns false and keeps the old name when it does not
    // fit or contains a NUL byte.
    bool Assign(std::string_view name);

    std::string_view View() const;
    const char* CStr() const { return bytes_.data(); }
    bool operator==(const TextureName& other) const { return View() == other.View(); }

private:
    std::array<char, kCapacity> bytes_;
};

}  // namespace zandrel::map
