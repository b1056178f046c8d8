#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace zandrel::view3d {

// Image files into mipmapped GL textures through DevIL. Every function works in the GL context
// current on the calling thread; without one nothing is created and names come back 0.
class TextureLoader {
public:
    // Loads fileName (relative to folder, by default the working directory) into a new texture
    // object with mipmaps and leaves it bound. A name that does not resolve to a regular file
    // inside folder, an image whose header is unknown, malformed or too large (tools::ImageHeader),
    // or one the library cannot decode, gives 0 and creates nothing.
    static std::uint32_t LoadMipmapped(const std::string& fileName,
                                       const std::filesystem::path& folder = ".");

    // Texture parameters every bind sets: repeat in t, trilinear filtering.
    static void SetDrawParameters();

    // Deletes a texture object name; 0 is ignored.
    static void Delete(std::uint32_t name);

private:
    static void InitLibrary();
};

}  // namespace zandrel::view3d
