#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "map/Status.h"
#include "tools/CameraPresets.h"
#include "view3d/RenderMode.h"

namespace zandrel::cli {

inline constexpr std::int32_t kMaxPictureSide = 4096;

// What zdmtool render was asked for.
struct RenderOptions {
    std::string mapPath;
    std::string outPath;
    std::int32_t width = 512;
    std::int32_t height = 512;
    tools::CameraPreset camera = tools::CameraPreset::Start;
    view3d::RenderMode mode = view3d::RenderMode::Solid;
    std::optional<std::string> textureFolder;
};

// Reads the render verb's arguments (after its name) into options; a failure names the
// argument that is wrong.
Status ParseRenderOptions(std::span<const std::string_view> args, RenderOptions& options);

}  // namespace zandrel::cli
