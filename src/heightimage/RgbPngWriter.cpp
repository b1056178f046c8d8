#include "heightimage/RgbPngWriter.h"

#include <png.h>

#include <cstring>

#include "mapfile/SafeFileWriter.h"

namespace zandrel::heightimage {

Status EncodeRgbPng(const RgbPicture& picture, std::string& bytes) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) *
                                  static_cast<std::size_t>(picture.height) * 3) {
        return Status::Failure("the picture has no pixels or not as many as its size says");
    }
    // libpng's simplified interface reports failures in the image record, never by a jump.
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, picture.rgb.data(), 0, nullptr) == 0) {
        const std::string reason = image.message;
        png_image_free(&image);
        return Status::Failure("cannot encode the picture: " + reason);
    }
    std::string out(size, '\0');
    if (png_image_write_to_memory(&image, out.data(), &size, 0, picture.rgb.data(), 0, nullptr) ==
        0) {
        const std::string reason = image.message;
        png_image_free(&image);
        return Status::Failure("cannot encode the picture: " + reason);
    }
    out.resize(size);
    bytes = std::move(out);
    return Status::Ok();
}

Status WriteRgbPngFile(const std::filesystem::path& path, const RgbPicture& picture) {
    std::string bytes;
    if (Status encoded = EncodeRgbPng(picture, bytes); !encoded) {
        return encoded;
    }
    return mapfile::ReplaceFileContents(path, bytes);
}

}  // namespace zandrel::heightimage
