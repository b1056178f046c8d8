#include "tools/ImageHeader.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <optional>
#include <span>
#include <vector>

namespace zandrel::tools {
namespace {

using Bytes = std::vector<unsigned char>;
using enum ImageFormat;

// value in count bytes, most significant first unless little.
void Put(Bytes& out, std::uint32_t value, int count, bool little = false) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * (little ? i : count - 1 - i))));
    }
}

// A marker segment: FF, the marker, a length that counts itself, the payload.
Bytes Segment(unsigned char marker, const Bytes& payload) {
    Bytes out = {0xFF, marker};
    Put(out, static_cast<std::uint32_t>(payload.size() + 2), 2);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

// A three-component baseline frame header of the given size.
Bytes Frame(unsigned char marker, std::uint32_t width, std::uint32_t height) {
    Bytes payload = {8};
    Put(payload, height, 2);
    Put(payload, width, 2);
    payload.insert(payload.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    return Segment(marker, payload);
}

const Bytes kApp0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});

// The headers, then some scan data as a real file would carry.
Bytes JpegFile(std::initializer_list<Bytes> parts) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 63, 0});
    out.insert(out.end(), scan.begin(), scan.end());
    out.insert(out.end(), 2000, 0x55);
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes PngFile(std::uint32_t width, std::uint32_t height, const char* chunk = "IHDR") {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    out.insert(out.end(), chunk, chunk + 4);
    Put(out, width, 4);
    Put(out, height, 4);
    out.insert(out.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return out;
}

// The core header of 12 bytes holds 16-bit sides, the others 32-bit ones.
Bytes BmpFile(std::uint32_t infoSize, std::uint32_t width, std::uint32_t height) {
    Bytes out = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    Put(out, infoSize, 4, true);
    Put(out, width, infoSize == 12 ? 2 : 4, true);
    Put(out, height, infoSize == 12 ? 2 : 4, true);
    out.resize(out.size() + 64, 0);
    return out;
}

// Any size in each format reads back, and the file cut anywhere before its size ends reads as
// nothing.
RC_GTEST_PROP(ReadImageHeader, ReadsAnySizeAndNothingOfAHeaderCutShort, ()) {
    const auto width = *rc::gen::inRange<std::uint32_t>(1, 65536);
    const auto height = *rc::gen::inRange<std::uint32_t>(1, 65536);
    const struct {
        ImageFormat format;
        Bytes bytes;
        std::size_t sizeEnd;
    } files[] = {{Jpeg, JpegFile({kApp0, Frame(0xC0, width, height)}), 2 + kApp0.size() + 19},
                 {Png, PngFile(width, height), 24},
                 {Bmp, BmpFile(40, width, height), 26},
                 {Bmp, BmpFile(12, width, height), 22}};
    for (const auto& file : files) {
        const std::optional<ImageHeader> header = ReadImageHeader(file.bytes);
        RC_ASSERT(header.has_value());
        RC_ASSERT(header->format == file.format);
        RC_ASSERT(header->width == width);
        RC_ASSERT(header->height == height);
        const auto cut = *rc::gen::inRange<std::size_t>(0, file.sizeEnd);
        RC_ASSERT(!ReadImageHeader(std::span(file.bytes).first(cut)));
    }
}

TEST(ReadImageHeader, GivesFormatAndSizeOrNothing) {
    const struct {
        const char* what;
        Bytes bytes;
        std::optional<ImageFormat> format;  // nothing: not loadable
        std::uint32_t width = 0;
        std::uint32_t height = 0;
    } cases[] = {
        {"progressive frame", JpegFile({kApp0, Frame(0xC2, 64, 32)}), Jpeg, 64, 32},
        {"Huffman table is no frame", JpegFile({Segment(0xC4, Bytes(20, 1)), Frame(0xC1, 7, 9)}),
         Jpeg, 7, 9},
        {"fill bytes and a standalone marker",
         JpegFile({kApp0, Bytes{0xFF, 0xFF, 0xFF, 0x01}, Frame(0xC0, 5, 6)}), Jpeg, 5, 6},
        {"first frame header wins", JpegFile({Frame(0xC0, 10, 20), Frame(0xC0, 60000, 60000)}),
         Jpeg, 10, 20},
        {"scan before any frame", JpegFile({kApp0}), {}},
        {"end of image before any frame", JpegFile({Bytes{0xFF, 0xD9}, Frame(0xC0, 1, 1)}), {}},
        {"height left to a DNL marker", JpegFile({Frame(0xC0, 64, 0)}), {}},
        {"frame header too short", JpegFile({Segment(0xC0, {8, 0, 1, 0, 1})}), {}},
        {"segment length below two", JpegFile({Bytes{0xFF, 0xE0, 0, 1}, Frame(0xC0, 1, 1)}), {}},
        {"garbage between segments", JpegFile({kApp0, Bytes{0x00}, Frame(0xC0, 1, 1)}), {}},
        {"png of 2^31 pixels a side", PngFile(0x80000000u, 1), Png, 0x80000000u, 1},
        {"png starting with another chunk", PngFile(3, 2, "IDAT"), {}},
        {"png of zero width", PngFile(0, 3), {}},
        {"bmp stored top-down", BmpFile(124, 3, static_cast<std::uint32_t>(-5)), Bmp, 3, 5},
        {"bmp of negative width", BmpFile(40, static_cast<std::uint32_t>(-3), 5), {}},
        {"bmp of the lowest height", BmpFile(40, 3, 0x80000000u), {}},
        {"bmp of unknown header size", BmpFile(20, 3, 5), {}},
        {"gif is not read", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, {}},
        {"empty file", Bytes{}, {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<ImageHeader> header = ReadImageHeader(c.bytes);
        ASSERT_EQ(header.has_value(), c.format.has_value());
        if (header) {
            EXPECT_EQ(header->format, *c.format);
            EXPECT_EQ(header->width, c.width);
            EXPECT_EQ(header->height, c.height);
        }
    }
}

// Sides are bound by the context's texture size and pixels by the budget of 16 Mi.
TEST(TextureLimits, BoundSidesByTheContextAndPixelsByTheBudget) {
    const struct {
        std::uint32_t width, height, maxTextureSize;
        bool fits;
    } cases[] = {{8192, 2048, 16384, true}, {4096, 4097, 16384, false},
                 {16384, 1, 16384, true},   {1, 16385, 16384, false},
                 {2048, 8, 1024, false},    {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(FitsTextureLimits({Jpeg, c.width, c.height}, c.maxTextureSize), c.fits)
            << c.width << 'x' << c.height << " under " << c.maxTextureSize;
    }
}

}  // namespace
}  // namespace zandrel::tools
