#pragma once

#include <filesystem>
#include <span>

#include "heightimage/HeightImage.h"
#include "map/Status.h"

namespace zandrel::heightimage {

// Decodes a PNG of any kind into 16-bit grey levels: 1, 2, 4 and 8-bit greys are widened (so
// 8-bit level 255 is 65535), colour and palette images become their luminance, alpha is
// dropped. The stored height range is read from the text chunks before the image data.
// The header's size is checked against the limits of HeightImage.h before pixels are
// allocated; a file that is no PNG, is damaged or cut short fails with the reason, and image is
// then left as it was.
Status DecodeHeightPng(std::span<const unsigned char> bytes, HeightImage& image);

// Reads and decodes a PNG file; only regular files (or links to them) of at most
// kMaxFileBytes are read.
Status ReadHeightPngFile(const std::filesystem::path& path, HeightImage& image);

}  // namespace zandrel::heightimage
