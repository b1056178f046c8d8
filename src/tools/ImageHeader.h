#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zandrel::tools {

// The image formats whose size we can read before the image library decodes them.
enum class ImageFormat { Jpeg, Png, Bmp };

// What an image file's header says about it.
struct ImageHeader {
    ImageFormat format;
    std::uint32_t width;
    std::uint32_t height;
};

// The image library sizes its pixel buffer in 32 bits, which wraps for large images, and
// decoding a huge one stalls the editor: no texture may hold more than 4096 x 4096 pixels.
inline constexpr std::uint64_t kMaxTexturePixels = std::uint64_t{4096} * 4096;

// The format and size from the start of an image file: a JPEG's first frame header (found by
// walking its marker segments), a PNG's IHDR chunk, a BMP's info header. Nothing for any
// other content, for a header cut short, malformed or claiming a zero size.
std::optional<ImageHeader> ReadImageHeader(std::span<const unsigned char> bytes);

// Whether the image may become a texture: neither side beyond maxTextureSize (the GL
// context's GL_MAX_TEXTURE_SIZE) and no more than kMaxTexturePixels pixels.
bool FitsTextureLimits(const ImageHeader& header, std::uint32_t maxTextureSize);

}  // namespace zandrel::tools
