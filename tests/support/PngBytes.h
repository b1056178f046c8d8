#pragma once

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace zandrel::testsupport {

using Bytes = std::vector<unsigned char>;

inline Bytes ToBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

// An 8-bit PNG of one row through libpng's simplified writer: the kinds of file other tools make.
inline Bytes SimplePng(png_uint_32 format, png_uint_32 width, const Bytes& pixels,
                       const Bytes& colormap = {}) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = 1;
    image.format = format;
    image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 3);
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    Bytes out(size);
    EXPECT_TRUE(png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0,
                                          colormap.empty() ? nullptr : colormap.data()));
    out.resize(size);
    return out;
}

inline void AppendBigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<unsigned char>(value >> shift));
    }
}

// The PNG signature and an IHDR claiming width x height 8-bit grey pixels, its CRC right, so
// that only the size is wrong; nothing follows.
inline Bytes HeaderOnly(std::uint32_t width, std::uint32_t height) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    AppendBigEndian(out, 13);
    const std::size_t typeAt = out.size();
    out.insert(out.end(), {'I', 'H', 'D', 'R'});
    AppendBigEndian(out, width);
    AppendBigEndian(out, height);
    out.insert(out.end(), {8, 0, 0, 0, 0});
    AppendBigEndian(out, static_cast<std::uint32_t>(crc32(0, out.data() + typeAt, 17)));
    return out;
}

}  // namespace zandrel::testsupport
