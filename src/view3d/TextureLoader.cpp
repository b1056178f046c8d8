#include "view3d/TextureLoader.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <IL/il.h>

#include <optional>
#include <vector>

#include "tools/ImageHeader.h"
#include "tools/TextureFile.h"

namespace zandrel::view3d {

namespace {

// Repeat and linear filters on the bound texture, tightly packed rows to read from.
void SetUploadParameters() {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
}

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

// The colour layout a palette gives its pixels when they are expanded.
ILenum PaletteColours(ILint paletteType) {
    switch (paletteType) {
        case IL_PAL_RGBA32:
            return IL_RGBA;
        case IL_PAL_BGR24:
        case IL_PAL_BGR32:
            return IL_BGR;
        case IL_PAL_BGRA32:
            return IL_BGRA;
        default:
            return IL_RGB;
    }
}

// Uploads the decoded image as a texture with its mipmaps: palettes expanded, rows from the
// bottom as GL counts them (the library decodes them so), one byte per channel component as
// decoded. gluBuild2DMipmaps defines every level, the first included, scaling a side that is
// not a power of two.
GLuint UploadMipmapped() {
    if (ilGetInteger(IL_IMAGE_FORMAT) == IL_COLOUR_INDEX &&
        ilConvertImage(PaletteColours(ilGetInteger(IL_PALETTE_TYPE)), IL_UNSIGNED_BYTE) !=
            IL_TRUE) {
        return 0;
    }
    const GLint components = ilGetInteger(IL_IMAGE_BYTES_PER_PIXEL);
    const GLsizei width = ilGetInteger(IL_IMAGE_WIDTH);
    const GLsizei height = ilGetInteger(IL_IMAGE_HEIGHT);
    const auto format = static_cast<GLenum>(ilGetInteger(IL_IMAGE_FORMAT));
    const auto type = static_cast<GLenum>(ilGetInteger(IL_IMAGE_TYPE));
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    SetUploadParameters();
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, width, height, format, type, ilGetData());
    return name;
}

std::uint32_t MaxTextureSize() {
    GLint size = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size > 0 ? static_cast<std::uint32_t>(size) : 0;
}

}  // namespace

void TextureLoader::InitLibrary() {
    ilInit();
    // Rows from the bottom, as GL counts them: the library turns each image so as it decodes.
    ilOriginFunc(IL_ORIGIN_LOWER_LEFT);
    ilEnable(IL_ORIGIN_SET);
    // The GL state every load has always left behind, which the passes draw with: texturing on,
    // modulated, the bound texture repeating with linear filters, tightly packed pixel rows.
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    SetUploadParameters();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
}

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
        name = UploadMipmapped();
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
