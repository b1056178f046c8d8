#include "view3d/StandaloneTextures.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>

#include "map/MapGrid.h"
#include "tools/TextureFile.h"
#include "view3d/TextureLoader.h"

namespace zandrel::view3d {

StandaloneTextures::StandaloneTextures(std::vector<std::filesystem::path> folders)
    : folders_(std::move(folders)) {}

StandaloneTextures::~StandaloneTextures() {
    for (const std::uint32_t name : loaded_.Names()) {
        TextureLoader::Delete(name);
    }
}

std::uint32_t StandaloneTextures::LoadFromFolders(const std::string& fileName) {
    return loaded_.Get(fileName, [this](const std::string& name) -> std::uint32_t {
        for (const std::filesystem::path& folder : folders_) {
            // A folder that does not hold the file by the safe-path rule is passed over, so a
            // hostile name can reach no further than the folders given.
            if (tools::FindTextureFile(folder, name).ok()) {
                return TextureLoader::LoadMipmapped(name, folder);
            }
        }
        return 0;
    });
}

void StandaloneTextures::Load(map::MapGrid& grid) {
    const std::int32_t count = std::clamp(grid.numtex, 0, map::kMaxTextureSlots);
    for (std::int32_t i = 0; i < count; ++i) {
        grid.textureIds[i] = LoadFromFolders(std::string(grid.textures[i].View()));
    }
    grid.start.texture = LoadFromFolders("start.jpg");
    grid.wallArea.texture = LoadFromFolders("wall.jpg");
    const bool inTable = grid.Enemys_Tex >= 0 && grid.Enemys_Tex < map::kMaxTextureSlots;
    enemyTexture_ =
        inTable ? LoadFromFolders(std::string(grid.textures[grid.Enemys_Tex].View())) : 0;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

}  // namespace zandrel::view3d
