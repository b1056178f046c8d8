#pragma once

#include <cstddef>
#include <filesystem>
#include <string_view>
#include <vector>

#include "map/Status.h"

namespace zandrel::tools {

// No texture the editor can use comes near this; it bounds what a hostile file can make us read.
inline constexpr std::size_t kMaxTextureFileBytes = std::size_t{64} << 20;

// Reads the image a map names into bytes. The name comes from the map file, so it is opened
// only when it resolves, symbolic links included, to a regular file inside directory: an
// absolute name, one whose ".." leave the folder, a device, FIFO or socket, a missing file and
// one larger than maxBytes all fail alike, with nothing opened that could block or have side
// effects. The file is opened without blocking and checked again through the open descriptor,
// so a FIFO or link swapped in after the first check is refused too.
Status ReadTextureFile(const std::filesystem::path& directory, std::string_view name,
                       std::vector<unsigned char>& bytes,
                       std::size_t maxBytes = kMaxTextureFileBytes);

// Whether ReadTextureFile would find name in directory, by the same rule, without opening it.
Status FindTextureFile(const std::filesystem::path& directory, std::string_view name);

}  // namespace zandrel::tools
