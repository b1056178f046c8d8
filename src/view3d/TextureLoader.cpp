#include "view3d/TextureLoader.h"

#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <vector>

#include "map/MapGrid.h"

namespace zandrel::view3d {

void TextureLoader::InitLibrary() {
    // Cheap to repeat, and the renderer must be chosen while a context is current, otherwise
    // ILUT silently rescales images that are not a power of two.
    ilInit();
    iluInit();
    ilutRenderer(ILUT_OPENGL);
}

std::uint32_t TextureLoader::LoadMipmapped(const std::string& fileName) {
    InitLibrary();
    // ILUT takes a mutable char*.
    std::vector<char> path(fileName.begin(), fileName.end());
    path.push_back('\0');
    const GLuint name = ilutGLLoadImage(path.data());
    // Only mipmap a texture that exists: after a failed load the current image is DevIL's
    // default one and the bound texture is 0, which failed slots draw with.
    if (name != 0) {
        ilutGLBuildMipmaps();
    }
    ilGetError();  // a failed load leaves an error that would surface in the next caller
    return name;
}

void TextureLoader::LoadMapTextures(map::MapGrid& grid, std::ostream& trace, bool deleteReplaced) {
    InitLibrary();
    const std::int32_t count = std::clamp(grid.numtex, 0, map::kMaxTextureSlots);
    std::vector<std::uint32_t> replaced;
    for (std::int32_t i = 0; i < count; ++i) {
        replaced.push_back(grid.textureIds[i]);
        const std::string fileName(grid.textures[i].View());
        grid.textureIds[i] = LoadMipmapped(fileName);
        trace << "Texture " << i << ':' << fileName << '\n';
    }
    trace.flush();
    replaced.push_back(grid.start.texture);
    grid.start.texture = LoadMipmapped("start.jpg");
    replaced.push_back(grid.wallArea.texture);
    grid.wallArea.texture = LoadMipmapped("wall.jpg");
    if (deleteReplaced) {
        for (const std::uint32_t name : replaced) {
            Delete(name);
        }
    }
}

void TextureLoader::SetDrawParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, static_cast<GLfloat>(GL_LINEAR));
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    static_cast<GLfloat>(GL_LINEAR_MIPMAP_LINEAR));
}

void TextureLoader::Delete(std::uint32_t name) {
    if (name != 0) {
        const GLuint glName = name;
        glDeleteTextures(1, &glName);
    }
}

}  // namespace zandrel::view3d
