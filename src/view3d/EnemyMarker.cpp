#include "view3d/EnemyMarker.h"

#include <GL/gl.h>

#include "map/MapGrid.h"
#include "view3d/Spheres.h"
#include "view3d/TextureLoader.h"

namespace zandrel::view3d {

std::optional<EnemyMarker::Centre> EnemyMarker::CentreOf(const map::MapGrid& grid,
                                                         std::size_t index) {
    if (index >= grid.enemies.size()) {
        return std::nullopt;
    }
    const map::EnemySlot& slot = grid.enemies[index];
    // Slots are kept as read from the file, so one may name a cell outside the map.
    if (slot.x0 == -1 || !grid.InMap(slot.x0, slot.z0)) {
        return std::nullopt;
    }
    const auto x = static_cast<float>(slot.x0);
    const auto h = static_cast<float>(grid.Cell(slot.x0, slot.z0).C);
    const auto z = static_cast<float>(slot.z0);
    return Centre{x + 0.5f, h + 0.5f, z + 0.5f};
}

void EnemyMarker::Draw(const Centre& centre, std::uint32_t texture, RenderMode mode,
                       WireSphere wire) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(centre[0], centre[1], centre[2]);
    glBindTexture(GL_TEXTURE_2D, texture);
    TextureLoader::SetDrawParameters();
    if (mode == RenderMode::Wireframe) {
        glDisable(GL_TEXTURE_2D);
        wire(0.5, 10, 10);
        glEnable(GL_TEXTURE_2D);
    } else {
        DrawTexturedSphere(0.0f, 0.0f, 0.0f, 0.5, 30);
    }
}

}  // namespace zandrel::view3d
