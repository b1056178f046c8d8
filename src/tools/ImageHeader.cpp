#include "tools/ImageHeader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>

namespace zandrel::tools {

namespace {

using Bytes = std::span<const unsigned char>;

std::uint32_t BigEndian16(Bytes bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 8) | bytes[at + 1];
}

std::uint32_t BigEndian32(Bytes bytes, std::size_t at) {
    return (BigEndian16(bytes, at) << 16) | BigEndian16(bytes, at + 2);
}

std::uint32_t LittleEndian16(Bytes bytes, std::size_t at) {
    return bytes[at] | (std::uint32_t{bytes[at + 1]} << 8);
}

std::uint32_t LittleEndian32(Bytes bytes, std::size_t at) {
    return LittleEndian16(bytes, at) | (LittleEndian16(bytes, at + 2) << 16);
}

std::optional<ImageHeader> Sized(ImageFormat format, std::uint32_t width, std::uint32_t height) {
    if (width == 0 || height == 0) {
        return std::nullopt;
    }
    return ImageHeader{format, width, height};
}

// SOF0..SOF15 carry the frame size; C4 (DHT), C8 (reserved) and CC (DAC) share the range.
bool IsStartOfFrame(unsigned char marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers that stand alone, without a length: TEM and the restart markers.
bool HasNoLength(unsigned char marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Walks the marker segments after SOI up to the first frame header, which is the one the
// decoder uses. Anything between segments that is not a marker is refused rather than skipped:
// a decoder that resynchronises could find a frame header we never saw.
std::optional<ImageHeader> ReadJpeg(Bytes bytes) {
    std::size_t at = 2;
    for (;;) {
        if (at >= bytes.size() || bytes[at] != 0xFF) {
            return std::nullopt;
        }
        while (at < bytes.size() && bytes[at] == 0xFF) {
            ++at;  // fill bytes before a marker
        }
        if (at >= bytes.size()) {
            return std::nullopt;
        }
        const unsigned char marker = bytes[at++];
        if (HasNoLength(marker)) {
            continue;
        }
        // SOI again, EOI or the scan itself before any frame header: nothing to size.
        if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) {
            return std::nullopt;
        }
        if (bytes.size() - at < 2) {
            return std::nullopt;
        }
        const std::uint32_t length = BigEndian16(bytes, at);
        if (length < 2 || bytes.size() - at < length) {
            return std::nullopt;
        }
        if (IsStartOfFrame(marker)) {
            // Precision, height, width, then at least the component count.
            if (length < 8) {
                return std::nullopt;
            }
            // A height of 0 defers it to a DNL marker after the scan; we cannot bound that.
            return Sized(ImageFormat::Jpeg, BigEndian16(bytes, at + 5), BigEndian16(bytes, at + 3));
        }
        at += length;
    }
}

std::optional<ImageHeader> ReadPng(Bytes bytes) {
    // Signature, then the first chunk, which must be a 13-byte IHDR.
    constexpr std::array<unsigned char, 8> kIhdr = {0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    if (bytes.size() < 24 || !std::equal(kIhdr.begin(), kIhdr.end(), bytes.begin() + 8)) {
        return std::nullopt;
    }
    return Sized(ImageFormat::Png, BigEndian32(bytes, 16), BigEndian32(bytes, 20));
}

std::optional<ImageHeader> ReadBmp(Bytes bytes) {
    if (bytes.size() < 18) {
        return std::nullopt;
    }
    const std::uint32_t infoSize = LittleEndian32(bytes, 14);
    if (infoSize == 12) {  // the old core header: 16-bit unsigned sides
        if (bytes.size() < 22) {
            return std::nullopt;
        }
        return Sized(ImageFormat::Bmp, LittleEndian16(bytes, 18), LittleEndian16(bytes, 20));
    }
    if (infoSize < 40 || bytes.size() < 26) {
        return std::nullopt;
    }
    // Signed sides; a negative height means rows stored top-down.
    const auto width = static_cast<std::int32_t>(LittleEndian32(bytes, 18));
    const auto height = static_cast<std::int32_t>(LittleEndian32(bytes, 22));
    if (width <= 0 || height == INT32_MIN) {
        return std::nullopt;
    }
    return Sized(ImageFormat::Bmp, static_cast<std::uint32_t>(width),
                 static_cast<std::uint32_t>(height < 0 ? -height : height));
}

bool StartsWith(Bytes bytes, std::initializer_list<unsigned char> prefix) {
    return bytes.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), bytes.begin());
}

}  // namespace

std::optional<ImageHeader> ReadImageHeader(std::span<const unsigned char> bytes) {
    if (StartsWith(bytes, {0xFF, 0xD8})) {
        return ReadJpeg(bytes);
    }
    if (StartsWith(bytes, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) {
        return ReadPng(bytes);
    }
    if (StartsWith(bytes, {'B', 'M'})) {
        return ReadBmp(bytes);
    }
    return std::nullopt;
}

bool FitsTextureLimits(const ImageHeader& header, std::uint32_t maxTextureSize) {
    return header.width <= maxTextureSize && header.height <= maxTextureSize &&
           std::uint64_t{header.width} * header.height <= kMaxTexturePixels;
}

}  // namespace zandrel::tools
