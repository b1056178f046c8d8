#pragma once

#include <filesystem>
#include <string>

#include "heightimage/HeightImage.h"
#include "map/Status.h"

namespace zandrel::heightimage {

// Encodes image as a 16-bit greyscale PNG, its range (when it has one) in a text chunk before
// the pixels. Fails only for an image whose levels do not match its size or libpng's refusal.
Status EncodeHeightPng(const HeightImage& image, std::string& bytes);

// Encodes image and replaces path with it by the map files' safe save, so path holds either
// its old content or the complete picture, never part of one.
Status WriteHeightPngFile(const std::filesystem::path& path, const HeightImage& image);

}  // namespace zandrel::heightimage
