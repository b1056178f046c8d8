#include "heightimage/HeightPngWriter.h"

#include <png.h>

#include <bit>
#include <csetjmp>
#include <new>
#include <vector>

#include "heightimage/HeightRangeText.h"
#include "heightimage/PngErrorTrap.h"
#include "heightimage/PngHandle.h"
#include "mapfile/SafeFileWriter.h"

namespace zandrel::heightimage {

namespace {

void AppendToString(png_structp png, png_bytep data, std::size_t count) {
    auto* const out = static_cast<std::string*>(png_get_io_ptr(png));
    bool full = false;
    try {
        out->append(reinterpret_cast<const char*>(data), count);
    } catch (const std::bad_alloc&) {
        full = true;  // no exception may cross libpng's C frames
    }
    if (full) {
        png_error(png, "not enough memory for the image");
    }
}

void FlushNothing(png_structp) {}

// Everything the jump may skip over lives in the caller: the rows, the text and the output.
bool WriteImage(png_structp png, png_infop info, png_uint_32 width, png_uint_32 height,
                png_bytepp rows, png_textp text) {
    if (setjmp(png_jmpbuf(png))) {
        return false;
    }
    png_set_IHDR(png, info, width, height, 16, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (text != nullptr) {
        png_set_text(png, info, text, 1);
    }
    png_write_info(png, info);
    if constexpr (std::endian::native == std::endian::little) {
        png_set_swap(png);
    }
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

}  // namespace

Status EncodeHeightPng(const HeightImage& image, std::string& bytes) {
    if (image.width <= 0 || image.height <= 0 ||
        image.levels.size() !=
            static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height)) {
        return Status::Failure("the image has no pixels or not as many as its size says");
    }
    PngErrorTrap trap;
    const PngWriteHandle handle(trap);
    if (!handle.valid()) {
        return Status::Failure("not enough memory for the image");
    }
    std::string out;
    png_set_write_fn(handle.png(), &out, &AppendToString, &FlushNothing);

    // libpng copies each row before swapping its bytes, so the levels are only read.
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (std::size_t v = 0; v < rows.size(); ++v) {
        rows[v] = reinterpret_cast<png_bytep>(
            const_cast<std::uint16_t*>(image.levels.data() + v * image.width));
    }
    std::string key(kRangeKeyword);
    std::string value = image.range ? FormatHeightRange(*image.range) : std::string();
    png_text text{};
    text.compression = PNG_TEXT_COMPRESSION_NONE;
    text.key = key.data();
    text.text = value.data();
    text.text_length = value.size();

    if (!WriteImage(handle.png(), handle.info(), static_cast<png_uint_32>(image.width),
                    static_cast<png_uint_32>(image.height), rows.data(),
                    image.range ? &text : nullptr)) {
        return Status::Failure("cannot encode the image: " + trap.Message("unknown error"));
    }
    bytes = std::move(out);
    return Status::Ok();
}

Status WriteHeightPngFile(const std::filesystem::path& path, const HeightImage& image) {
    std::string bytes;
    if (Status encoded = EncodeHeightPng(image, bytes); !encoded) {
        return encoded;
    }
    return mapfile::ReplaceFileContents(path, bytes);
}

}  // namespace zandrel::heightimage
