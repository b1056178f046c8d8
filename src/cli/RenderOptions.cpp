#include "cli/RenderOptions.h"

#include <charconv>
#include <vector>

namespace zandrel::cli {

namespace {

// A whole side length in 1..kMaxPictureSide, digits only (from_chars ignores the locale).
std::optional<std::int32_t> ParseSide(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kMaxPictureSide) {
        return std::nullopt;
    }
    return value;
}

Status ParseSize(std::string_view text, RenderOptions& options) {
    const std::size_t cross = text.find('x');
    const std::optional<std::int32_t> width = ParseSide(text.substr(0, cross));
    const std::optional<std::int32_t> height =
        cross == std::string_view::npos ? width : ParseSide(text.substr(cross + 1));
    if (!width || !height) {
        return Status::Failure("--size '" + std::string(text) +
                               "' is not W or WxH with sides of 1 to " +
                               std::to_string(kMaxPictureSide) + " pixels");
    }
    options.width = *width;
    options.height = *height;
    return Status::Ok();
}

}  // namespace

Status ParseRenderOptions(std::span<const std::string_view> args, RenderOptions& options) {
    std::vector<std::string_view> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--wireframe") {
            options.mode = view3d::RenderMode::Wireframe;
            continue;
        }
        if (arg != "--size" && arg != "--camera" && arg != "--textures") {
            if (arg.size() > 1 && arg.front() == '-') {
                return Status::Failure("unknown option '" + std::string(arg) + "'");
            }
            files.push_back(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            return Status::Failure(std::string(arg) + " needs a value");
        }
        const std::string_view value = args[++i];
        if (arg == "--size") {
            if (Status size = ParseSize(value, options); !size) {
                return size;
            }
        } else if (arg == "--camera") {
            const std::optional<tools::CameraPreset> preset = tools::CameraPresetNamed(value);
            if (!preset) {
                return Status::Failure("--camera '" + std::string(value) +
                                       "' is none of start, top, iso");
            }
            options.camera = *preset;
        } else {
            options.textureFolder = std::string(value);
        }
    }
    if (files.size() != 2) {
        return Status::Failure(files.size() < 2 ? "render needs MAP and OUT.png"
                                                : "too many arguments");
    }
    options.mapPath = files[0];
    options.outPath = files[1];
    return Status::Ok();
}

}  // namespace zandrel::cli
