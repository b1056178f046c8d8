#include "view3d/EnemyModel.h"

#include <GL/freeglut.h>
#include <GL/gl.h>

#include "view3d/GlutRuntime.h"
#include "view3d/Spheres.h"
#include "view3d/TextureLoader.h"

namespace zandrel::view3d {

void EnemyModel::Place(float x, float h, float z) {
    position = {x + 0.5f, h + 0.5f, z + 0.5f};
}

void EnemyModel::Draw(std::int32_t renderMode) const {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(position[0], position[1], position[2]);
    glBindTexture(GL_TEXTURE_2D, texture);
    TextureLoader::SetDrawParameters();
    if (renderMode == 1) {
        glDisable(GL_TEXTURE_2D);
        // glut geometry exits the process when glut was never initialised (no display when the
        // view started), so fall back to our own wire sphere then.
        if (GlutRuntime::IsInitialised()) {
            glutWireSphere(0.5, 10, 10);
        } else {
            DrawWireSphere(0.5, 10, 10);
        }
        glEnable(GL_TEXTURE_2D);
    } else if (renderMode == 3) {
        DrawTexturedSphere(0.0f, 0.0f, 0.0f, 0.5, 30);
    }
}

void EnemyModel::LoadTexture(const std::string& fileName) {
    texture = TextureLoader::LoadMipmapped(fileName);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace zandrel::view3d
