#include "view3d/TextureLoader.h"

#include <GL/gl.h>
#define ILUT_USE_OPENGL
#include <IL/il.h>
#include <IL/ilu.h>
#include <IL/ilut.h>

#include <optional>
#include <vector>

#include "tools/ImageHeader.h"
#include "tools/TextureFile.h"

namespace zandrel::view3d {

void TextureLoader::InitLibrary() {
    // Cheap to repeat, and the renderer must be chosen while a context is current, otherwise
    // ILUT silently rescales images that are not a power of two.
    ilInit();
    iluInit();
    ilutRenderer(ILUT_OPENGL);
}

namespace {

ILenum LibraryType(tools::ImageFormat format) {
    switch (format) {
        case tools::ImageFormat::Jpeg:
            return IL_JPG;
        case tools::ImageFormat::Png:
            return IL_PNG;
        case tools::ImageFormat::Bmp:
            return IL_BMP;
    }
    return IL_TYPE_UNKNOWN;
}

std::uint32_t MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? static_cast<std::uint32_t>(size) : 0;
}

}  // namespace

std::uint32_t TextureLoader::LoadMipmapped(const std::string& fileName,
                                           const std::filesystem::path& folder) {
    InitLibrary();
    // The name and the image both come from outside: the file is read by us, only from inside
    // the given folder, and its header must promise a size the image library handles safely
    // (it sizes its buffer in 32 bits) and the context can hold. The library then decodes
    // these very bytes, never the file again.
    std::vector<unsigned char> bytes;
    if (!tools::ReadTextureFile(folder, fileName, bytes).ok()) {
        return 0;
    }
    const std::optional<tools::ImageHeader> header = tools::ReadImageHeader(bytes);
    if (!header || !tools::FitsTextureLimits(*header, MaxTextureSize())) {
        return 0;
    }
    GLuint name = 0;
    if (ilLoadL(LibraryType(header->format), bytes.data(), static_cast<ILuint>(bytes.size()))) {
        name = ilutGLBindTexImage();
    }
    // Only mipmap a texture that exists: after a failed load the bound texture is 0, which
    // failed slots draw with.
    if (name != 0) {
        ilutGLBuildMipmaps();
    }
    ilGetError();  // a failed load leaves an error that would surface in the next caller
    return name;
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
