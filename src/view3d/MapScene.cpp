#include "view3d/MapScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "map/MapGrid.h"
#include "tools/Camera.h"
#include "tools/HeightSampling.h"
#include "view3d/EnemyMarker.h"
#include "view3d/MapPassBatches.h"
#include "view3d/Spheres.h"

namespace zandrel::view3d {

void MapScene::BeginFrame(std::int32_t width, std::int32_t height) {
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, width, height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void MapScene::LoadProjection(const tools::Camera& camera, std::int32_t width,
                              std::int32_t height) {
    // The camera goes onto the projection matrix, leaving the model-view matrix the identity
    // for the map pass.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = height != 0 ? static_cast<double>(width) / height : 1.0;
    gluPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], camera.target[0], camera.target[1],
              camera.target[2], camera.up[0], camera.up[1], camera.up[2]);
    glMatrixMode(GL_MODELVIEW);
}

void MapScene::DrawContents(const map::MapGrid& grid, RenderMode mode, std::uint32_t enemyTexture) {
    MapPassBatches().Draw(grid, mode);
    DrawEnemies(grid, enemyTexture, mode, &DrawWireSphere);
    DrawAxesAndStart(grid);
}

void MapScene::DrawEnemies(const map::MapGrid& grid, std::uint32_t texture, RenderMode mode,
                           EnemyMarker::WireSphere wire) {
    for (std::size_t i = 0; i < grid.enemies.size(); ++i) {
        if (const auto centre = EnemyMarker::CentreOf(grid, i)) {
            glPushMatrix();
            glLoadIdentity();
            EnemyMarker::Draw(*centre, texture, mode, wire);
            glPopMatrix();
        }
    }
}

void MapScene::DrawAxesAndStart(const map::MapGrid& grid) {
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.0f, 1.0f, 0.0f);
    const float axes[3][6] = {{0.0f, 0.0f, -100.0f, 0.0f, 0.0f, 100.0f},
                              {-100.0f, 0.0f, 0.0f, 100.0f, 0.0f, 0.0f},
                              {0.0f, -100.0f, 0.0f, 0.0f, 100.0f, 0.0f}};
    for (const auto& axis : axes) {
        glBegin(GL_LINES);
        glVertex3f(axis[0], axis[1], axis[2]);
        glVertex3f(axis[3], axis[4], axis[5]);
        glEnd();
    }
    // Drawn even with no start placed: the sampler then gives the outside height and the
    // marker lies far below the terrain.
    const float x = static_cast<float>(grid.start.x0) + 0.5f;
    const float z = static_cast<float>(grid.start.z0) + 0.5f;
    const double h = tools::sampleHeight(grid, x, z);
    glBegin(GL_LINES);
    glVertex3f(x, static_cast<float>(h - 3.0), z);
    glVertex3f(x, static_cast<float>(h + 3.0), z);
    glEnd();
}

}  // namespace zandrel::view3d
