#include "heightimage/HeightPngReader.h"

#include <fcntl.h>
#include <png.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "heightimage/HeightRangeText.h"
#include "heightimage/PngErrorTrap.h"
#include "heightimage/PngHandle.h"

namespace zandrel::heightimage {

namespace {

constexpr std::size_t kSignatureBytes = 8;

// The bytes libpng reads from.
struct ByteSource {
    const unsigned char* data;
    std::size_t size;
    std::size_t offset;
};

void ReadFromSource(png_structp png, png_bytep out, std::size_t count) {
    auto* const source = static_cast<ByteSource*>(png_get_io_ptr(png));
    if (count > source->size - source->offset) {
        png_error(png, "the file ends before the image does");
    }
    std::memcpy(out, source->data + source->offset, count);
    source->offset += count;
}

// What the header says, and later what the rows will hold after our transforms.
struct PngFacts {
    png_uint_32 width;
    png_uint_32 height;
    bool hasRange;
    tools::HeightRange range;
    std::size_t rowBytes;
    png_byte channels;
    png_byte bitDepth;
};

bool ReadHeader(png_structp png, png_infop info, PngFacts* facts) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
    png_read_info(png, info);
    facts->width = png_get_image_width(png, info);
    facts->height = png_get_image_height(png, info);
    png_textp texts = nullptr;
    int count = 0;
    png_get_text(png, info, &texts, &count);
    for (int i = 0; i < count; ++i) {
        if (texts[i].key == nullptr || texts[i].text == nullptr ||
            std::strcmp(texts[i].key, kRangeKeyword) != 0) {
            continue;
        }
        const std::optional<tools::HeightRange> range = ParseHeightRange(texts[i].text);
        facts->hasRange = range.has_value();
        if (range) {
            facts->range = *range;
        }
    }
    return true;
}

// Every kind of PNG to one 16-bit grey channel in this machine's byte order.
bool SetGreyTransforms(png_structp png, png_infop info, PngFacts* facts) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_strip_alpha(png);
    const png_byte colour = png_get_color_type(png, info);
    if ((colour & PNG_COLOR_MASK_COLOR) != 0) {
        png_set_rgb_to_gray_fixed(png, 1, -1, -1);
    }
    png_set_expand_16(png);
    if constexpr (std::endian::native == std::endian::little) {
        png_set_swap(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    facts->rowBytes = png_get_rowbytes(png, info);
    facts->channels = png_get_channels(png, info);
    facts->bitDepth = png_get_bit_depth(png, info);
    return true;
}

bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_read_image(png, rows);
    return true;
}

std::uint32_t BigEndianAt(std::span<const unsigned char> bytes, std::size_t at) {
    return (std::uint32_t{bytes[at]} << 24) | (std::uint32_t{bytes[at + 1]} << 16) |
           (std::uint32_t{bytes[at + 2]} << 8) | std::uint32_t{bytes[at + 3]};
}

// The size the IHDR chunk (always the first) declares, judged before libpng reads on: libpng
// only says "Invalid IHDR data" of a size it refuses, and reads on to the image data before it
// tells us the size, so a huge claim would be found out only at the end of a file cut short.
Status CheckDeclaredSize(std::span<const unsigned char> bytes) {
    constexpr std::size_t kTypeAt = kSignatureBytes + 4;
    constexpr std::size_t kHeaderEnd = kTypeAt + 4 + 8;
    if (bytes.size() < kHeaderEnd || std::memcmp(bytes.data() + kTypeAt, "IHDR", 4) != 0) {
        return Status::Failure("is not a readable PNG image: it has no image header");
    }
    const std::uint32_t width = BigEndianAt(bytes, kTypeAt + 4);
    const std::uint32_t height = BigEndianAt(bytes, kTypeAt + 8);
    const std::uint64_t pixels = std::uint64_t{width} * height;
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide ||
        pixels > kMaxImagePixels) {
        return Status::Failure("is " + std::to_string(width) + " x " + std::to_string(height) +
                               " pixels; a heightmap has 1 to " + std::to_string(kMaxImageSide) +
                               " a side and at most " + std::to_string(kMaxImagePixels) +
                               " in all");
    }
    return Status::Ok();
}

Status Unreadable(const PngErrorTrap& trap) {
    return Status::Failure("is not a readable PNG image: " + trap.Message("unknown error"));
}

}  // namespace

Status DecodeHeightPng(std::span<const unsigned char> bytes, HeightImage& image) {
    if (bytes.size() < kSignatureBytes || png_sig_cmp(bytes.data(), 0, kSignatureBytes) != 0) {
        return Status::Failure("is not a PNG image");
    }
    if (Status sized = CheckDeclaredSize(bytes); !sized) {
        return sized;
    }
    PngErrorTrap trap;
    const PngReadHandle handle(trap);
    if (!handle.valid()) {
        return Status::Failure("not enough memory to read it");
    }
    ByteSource source{bytes.data(), bytes.size(), 0};
    png_set_read_fn(handle.png(), &source, &ReadFromSource);

    PngFacts facts{};
    if (!ReadHeader(handle.png(), handle.info(), &facts)) {
        return Unreadable(trap);
    }
    const std::uint64_t pixels = std::uint64_t{facts.width} * facts.height;
    if (pixels == 0 || pixels > kMaxImagePixels) {
        return Status::Failure("is not a readable PNG image: its header is inconsistent");
    }
    if (!SetGreyTransforms(handle.png(), handle.info(), &facts)) {
        return Unreadable(trap);
    }
    if (facts.channels != 1 || facts.bitDepth != 16 ||
        facts.rowBytes != std::size_t{facts.width} * 2) {
        return Status::Failure("is a kind of PNG image that cannot be read as grey levels");
    }

    std::vector<std::uint16_t> levels(pixels);
    std::vector<png_bytep> rows(facts.height);
    for (png_uint_32 v = 0; v < facts.height; ++v) {
        rows[v] = reinterpret_cast<png_bytep>(levels.data() + std::size_t{v} * facts.width);
    }
    if (!ReadRows(handle.png(), rows.data())) {
        return Unreadable(trap);
    }
    image.width = static_cast<std::int32_t>(facts.width);
    image.height = static_cast<std::int32_t>(facts.height);
    image.levels = std::move(levels);
    image.range = facts.hasRange ? std::optional(facts.range) : std::nullopt;
    return Status::Ok();
}

Status ReadHeightPngFile(const std::filesystem::path& path, HeightImage& image) {
    // Opened before it is examined, so what we check is what we read; O_NONBLOCK keeps a FIFO
    // from holding us up before fstat refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return Status::Failure("cannot be opened: " + std::generic_category().message(errno));
    }
    const std::unique_ptr<const int, void (*)(const int*)> closer(
        &fd, [](const int* open) { ::close(*open); });
    struct stat facts {};
    if (::fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) {
        return Status::Failure("is not a regular file");
    }
    if (static_cast<std::uint64_t>(facts.st_size) > kMaxFileBytes) {
        return Status::Failure("is larger than " + std::to_string(kMaxFileBytes) + " bytes");
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(facts.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return Status::Failure("cannot be read: " + std::generic_category().message(errno));
        }
        if (got == 0) {
            break;  // shrunk since fstat: decode what is there, which fails if it is cut short
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return DecodeHeightPng(bytes, image);
}

}  // namespace zandrel::heightimage
