#pragma once

#include <cstdint>

#include "view3d/EnemyMarker.h"
#include "view3d/RenderMode.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::tools {
struct Camera;
}

namespace zandrel::view3d {

// One frame of a map as the editor shows it, without any window: the view draws it into its
// widget and zdmtool into an off-screen context, so both give the same picture.
class MapScene {
public:
    // Clears a width x height viewport and sets the fixed state every frame draws with.
    static void BeginFrame(std::int32_t width, std::int32_t height);

    // Puts the perspective and the camera on the projection matrix and leaves the model-view
    // matrix current; the map pass and picking both work under it.
    static void LoadProjection(const tools::Camera& camera, std::int32_t width,
                               std::int32_t height);

    // The map pass, the enemy markers (wire ones of our own spheres, which need no display),
    // then the axes and the start marker.
    static void DrawContents(const map::MapGrid& grid, RenderMode mode, std::uint32_t enemyTexture);

    static void DrawEnemies(const map::MapGrid& grid, std::uint32_t texture, RenderMode mode,
                            EnemyMarker::WireSphere wire);
    // The three green axes and the vertical start line through the start cell's centre.
    static void DrawAxesAndStart(const map::MapGrid& grid);

    static constexpr double kFieldOfView = 55.0;  // vertical, in degrees
    static constexpr double kNearPlane = 0.5;
    static constexpr double kFarPlane = 150.0;
};

}  // namespace zandrel::view3d
