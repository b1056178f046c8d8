#pragma once

#include <GL/gl.h>

namespace zandrel::bench {

// The floors' whole picture: the cleared frame and one quad of texture, corners at +-extent.
inline void DrawTexturedQuad(GLuint texture, float extent) {
    glClearColor(0.0F, 0.0F, 0.0F, 1.0F);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0F, 0.0F);
    glVertex2f(-extent, -extent);
    glTexCoord2f(1.0F, 0.0F);
    glVertex2f(extent, -extent);
    glTexCoord2f(1.0F, 1.0F);
    glVertex2f(extent, extent);
    glTexCoord2f(0.0F, 1.0F);
    glVertex2f(-extent, extent);
    glEnd();
}

}  // namespace zandrel::bench
