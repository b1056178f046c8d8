#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "view3d/TexturesByFile.h"

namespace zandrel::map {
class MapGrid;
}

namespace zandrel::view3d {

// The texture objects of one map drawn outside the editor, in the one context current while
// it lives: the same files the editor's texture set loads (the slots, "start.jpg",
// "wall.jpg" and the enemy slot's image), each looked up in a list of folders, the first
// that holds it by the texture-file rule winning, each file loaded once. Deletes its names
// when destroyed, so the context must still be current then.
class StandaloneTextures {
public:
    explicit StandaloneTextures(std::vector<std::filesystem::path> folders);
    ~StandaloneTextures();
    StandaloneTextures(const StandaloneTextures&) = delete;
    StandaloneTextures& operator=(const StandaloneTextures&) = delete;

    // Loads the map's textures into its texture fields, as the editor does on its first frame.
    void Load(map::MapGrid& grid);

    std::uint32_t EnemyTexture() const { return enemyTexture_; }

private:
    std::uint32_t LoadFromFolders(const std::string& fileName);

    std::vector<std::filesystem::path> folders_;
    TexturesByFile loaded_;
    std::uint32_t enemyTexture_ = 0;
};

}  // namespace zandrel::view3d
