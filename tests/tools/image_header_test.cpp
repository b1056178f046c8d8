#include "tools/ImageHeader.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace zandrel::tools {
namespace {

using Bytes = std::vector<unsigned char>;

void Append(Bytes& out, std::initializer_list<unsigned> values) {
    for (const unsigned v : values) {
        out.push_back(static_cast<unsigned char>(v));
    }
}

// A marker segment: FF, the marker, a length that counts itself, the payload.
Bytes Segment(unsigned marker, const Bytes& payload) {
    Bytes out;
    const auto length = static_cast<unsigned>(payload.size() + 2);
    Append(out, {0xFF, marker, static_cast<unsigned>(length >> 8), length & 0xFFu});
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

// A three-component baseline frame header of the given size.
Bytes Frame(unsigned marker, unsigned width, unsigned height) {
    Bytes payload;
    Append(payload, {8, height >> 8, height & 0xFFu, width >> 8, width & 0xFFu, 3});
    Append(payload, {1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    return Segment(marker, payload);
}

const Bytes kApp0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});

Bytes Jpeg(std::initializer_list<Bytes> parts) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    // Some scan data after the headers, as a real file would carry.
    const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 63, 0});
    out.insert(out.end(), scan.begin(), scan.end());
    out.insert(out.end(), 2000, 0x55);
    Append(out, {0xFF, 0xD9});
    return out;
}

Bytes Cut(Bytes bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes Png(unsigned width, unsigned height, const char* chunk = "IHDR") {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    out.insert(out.end(), chunk, chunk + 4);
    for (const unsigned v : {width, height}) {
        Append(out, {v >> 24, (v >> 16) & 0xFFu, (v >> 8) & 0xFFu, v & 0xFFu});
    }
    Append(out, {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return out;
}

Bytes Bmp(std::uint32_t infoSize, std::uint32_t width, std::uint32_t height) {
    Bytes out = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    const auto le32 = [&out](std::uint32_t v) {
        Append(out, {v & 0xFFu, (v >> 8) & 0xFFu, (v >> 16) & 0xFFu, v >> 24});
    };
    le32(infoSize);
    if (infoSize == 12) {
        Append(out, {width & 0xFFu, (width >> 8) & 0xFFu, height & 0xFFu, (height >> 8) & 0xFFu});
    } else {
        le32(width);
        le32(height);
    }
    out.resize(out.size() + 64, 0);
    return out;
}

struct HeaderCase {
    const char* what;
    Bytes bytes;
    std::optional<ImageFormat> format;  // nothing: not loadable
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
    *out << '"' << c.what << '"';
}

class ReadsImageHeader : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ReadsImageHeader, GivesFormatAndSizeOrNothing) {
    const HeaderCase& c = GetParam();
    const std::optional<ImageHeader> header = ReadImageHeader(c.bytes);
    if (!c.format) {
        EXPECT_FALSE(header.has_value()) << c.what;
        return;
    }
    ASSERT_TRUE(header.has_value()) << c.what;
    EXPECT_EQ(header->format, *c.format) << c.what;
    EXPECT_EQ(header->width, c.width) << c.what;
    EXPECT_EQ(header->height, c.height) << c.what;
}

const Bytes kHuge = Jpeg({kApp0, Frame(0xC0, 65000, 65000)});

INSTANTIATE_TEST_SUITE_P(
    Jpeg, ReadsImageHeader,
    ::testing::Values(
        HeaderCase{"claims 65000x65000", kHuge, ImageFormat::Jpeg, 65000, 65000},
        HeaderCase{"progressive frame", Jpeg({kApp0, Frame(0xC2, 64, 32)}), ImageFormat::Jpeg, 64,
                   32},
        HeaderCase{"Huffman table is no frame",
                   Jpeg({Segment(0xC4, Bytes(20, 1)), Frame(0xC1, 7, 9)}), ImageFormat::Jpeg, 7, 9},
        HeaderCase{"fill bytes and a standalone marker",
                   Jpeg({kApp0, Bytes{0xFF, 0xFF, 0xFF, 0x01}, Frame(0xC0, 5, 6)}),
                   ImageFormat::Jpeg, 5, 6},
        HeaderCase{"first frame header wins",
                   Jpeg({Frame(0xC0, 10, 20), Frame(0xC0, 60000, 60000)}), ImageFormat::Jpeg, 10,
                   20},
        HeaderCase{"cut inside the frame header", Cut(kHuge, 2 + kApp0.size() + 7), {}},
        HeaderCase{"cut inside the first segment", Cut(kHuge, 10), {}},
        HeaderCase{"start of image only", Bytes{0xFF, 0xD8}, {}},
        HeaderCase{"scan before any frame", Jpeg({kApp0}), {}},
        HeaderCase{
            "end of image before any frame", Jpeg({Bytes{0xFF, 0xD9}, Frame(0xC0, 1, 1)}), {}},
        HeaderCase{"height left to a DNL marker", Jpeg({Frame(0xC0, 64, 0)}), {}},
        HeaderCase{"zero width", Jpeg({Frame(0xC0, 0, 64)}), {}},
        HeaderCase{"frame header too short", Jpeg({Segment(0xC0, {8, 0, 1, 0, 1})}), {}},
        HeaderCase{
            "segment length below two", Jpeg({Bytes{0xFF, 0xE0, 0, 1}, Frame(0xC0, 1, 1)}), {}},
        HeaderCase{"garbage between segments", Jpeg({kApp0, Bytes{0x00}, Frame(0xC0, 1, 1)}), {}}));

INSTANTIATE_TEST_SUITE_P(
    OtherFormats, ReadsImageHeader,
    ::testing::Values(
        HeaderCase{"png", Png(300, 200), ImageFormat::Png, 300, 200},
        HeaderCase{"png of 2^31 pixels a side", Png(0x80000000u, 1), ImageFormat::Png, 0x80000000u,
                   1},
        HeaderCase{"png cut before its height", Cut(Png(3, 2), 22), {}},
        HeaderCase{"png starting with another chunk", Png(3, 2, "IDAT"), {}},
        HeaderCase{"png of zero height", Png(3, 0), {}},
        HeaderCase{"bmp", Bmp(40, 3, 5), ImageFormat::Bmp, 3, 5},
        HeaderCase{"bmp stored top-down", Bmp(124, 3, static_cast<std::uint32_t>(-5)),
                   ImageFormat::Bmp, 3, 5},
        HeaderCase{"bmp core header", Bmp(12, 65535, 7), ImageFormat::Bmp, 65535, 7},
        HeaderCase{"bmp of negative width", Bmp(40, static_cast<std::uint32_t>(-3), 5), {}},
        HeaderCase{"bmp of the lowest height", Bmp(40, 3, 0x80000000u), {}},
        HeaderCase{"bmp of unknown header size", Bmp(20, 3, 5), {}},
        HeaderCase{"bmp cut short", Cut(Bmp(40, 3, 5), 24), {}},
        HeaderCase{"gif is not read", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}, {}},
        HeaderCase{"text", Bytes{'h', 'e', 'l', 'l', 'o'}, {}},
        HeaderCase{"empty file", Bytes{}, {}}));

// Sides are bound by the context's texture size and pixels by the budget of 16 Mi.
TEST(TextureLimits, BoundSidesByTheContextAndPixelsByTheBudget) {
    const struct {
        std::uint32_t width, height, maxTextureSize;
        bool fits;
    } cases[] = {{1, 1, 16384, true},
                 {4096, 4096, 16384, true},
                 {4096, 4097, 16384, false},
                 {8192, 2048, 16384, true},
                 {8192, 2049, 16384, false},
                 {16384, 1, 16384, true},
                 {16385, 1, 16384, false},
                 {2048, 8, 1024, false},
                 {65000, 65000, 16384, false},
                 {65500, 21858, 65536, false},
                 {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(FitsTextureLimits({ImageFormat::Jpeg, c.width, c.height}, c.maxTextureSize),
                  c.fits)
            << c.width << 'x' << c.height << " under " << c.maxTextureSize;
    }
}

}  // namespace
}  // namespace zandrel::tools
