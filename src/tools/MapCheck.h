#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string_view>
#include <vector>

#include "map/MapGrid.h"
#include "tools/MapFinding.h"

namespace zandrel::tools {

// Whether the image file a texture slot names can be found. The check asks through this so
// that its rules can be tried without files.
using TextureLookup = std::function<bool(std::string_view name)>;

// The lookup the editor and zdmtool use: a name is found when it resolves, by the rule of
// ReadTextureFile, to a regular file inside one of folders.
TextureLookup TextureFilesIn(std::vector<std::filesystem::path> folders);

// A rule that concerns single cells reports at most this many of them, in x-then-z order,
// then one more finding without a cell that counts the rest: a map whose every cell is wrong
// stays readable as a list.
inline constexpr std::size_t kMaxCellFindingsPerRule = 20;

// The rules a map must pass to be fit for the game, findings in MapCheckCode order. A map with
// no cells (size-empty) gets no start, enemy or goal findings: they would only repeat it. Only
// slots 0..numtex-1 are in the texture table, so with numtex 0 or below every slot a cell or
// Enemys_Tex names is out of range. The grid is read as the loader left it: an unset start or
// enemy has -1 in every corner, and their position is the first corner.
std::vector<MapFinding> CheckMap(const map::MapGrid& grid, const TextureLookup& textureExists);

}  // namespace zandrel::tools
