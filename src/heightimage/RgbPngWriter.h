#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "map/Status.h"

namespace zandrel::heightimage {

// An 8-bit RGB picture, rows from the top, three bytes a pixel.
struct RgbPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<unsigned char> rgb;
};

// Encodes picture as an 8-bit RGB PNG. Fails for a picture without pixels or whose bytes do
// not match its size.
Status EncodeRgbPng(const RgbPicture& picture, std::string& bytes);

// Encodes picture and replaces path with it by the map files' safe save (a temporary beside it,
// then a rename), so path never holds part of a picture.
Status WriteRgbPngFile(const std::filesystem::path& path, const RgbPicture& picture);

}  // namespace zandrel::heightimage
