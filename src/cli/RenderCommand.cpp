#include "cli/RenderCommand.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "cli/RenderOptions.h"
#include "heightimage/RgbPngWriter.h"
#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "tools/CameraPresets.h"
#include "view3d/MapScene.h"
#include "view3d/OffscreenContext.h"
#include "view3d/StandaloneTextures.h"

namespace zandrel::cli {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

std::vector<std::filesystem::path> TextureFolders(const RenderOptions& options) {
    if (options.textureFolder) {
        return {*options.textureFolder};
    }
    std::filesystem::path mapFolder = std::filesystem::path(options.mapPath).parent_path();
    if (mapFolder.empty()) {
        mapFolder = ".";
    }
    return {mapFolder, "."};
}

// Draws the frame in the current context and reads it back. The textures go with the
// context's life, so they are made and deleted here while it is current.
heightimage::RgbPicture DrawPicture(map::MapGrid& grid, const RenderOptions& options,
                                    const view3d::OffscreenContext& context) {
    view3d::StandaloneTextures textures(TextureFolders(options));
    view3d::MapScene::BeginFrame(options.width, options.height);
    textures.Load(grid);
    const double aspect = static_cast<double>(options.width) / options.height;
    const tools::Camera camera =
        tools::PresetCamera(grid, options.camera, aspect, view3d::MapScene::kFieldOfView);
    view3d::MapScene::LoadProjection(camera, options.width, options.height);
    view3d::MapScene::DrawContents(grid, options.mode, textures.EnemyTexture());
    return {options.width, options.height, context.ReadRgb()};
}

}  // namespace

int RunRenderCommand(std::span<const std::string_view> args, std::ostream& /*out*/,
                     std::ostream& err) {
    RenderOptions options;
    if (const Status parsed = ParseRenderOptions(args, options); !parsed) {
        err << "zdmtool: " << parsed.message() << "\nUsage: zdmtool " << kRenderSynopsis << '\n';
        return kUsage;
    }
    const auto grid = std::make_unique<map::MapGrid>();
    if (const Status loaded = mapfile::LoadMapFile(*grid, options.mapPath, {stderr, nullptr});
        !loaded) {
        err << options.mapPath << ": " << loaded.message() << '\n';
        return kFailed;
    }
    std::unique_ptr<view3d::OffscreenContext> context;
    if (const Status made =
            view3d::OffscreenContext::Create(options.width, options.height, context);
        !made) {
        err << "zdmtool: " << made.message() << '\n';
        return kFailed;
    }
    const heightimage::RgbPicture picture = DrawPicture(*grid, options, *context);
    if (const Status written = heightimage::WriteRgbPngFile(options.outPath, picture); !written) {
        err << options.outPath << ": " << written.message() << '\n';
        return kFailed;
    }
    return kOk;
}

}  // namespace zandrel::cli
