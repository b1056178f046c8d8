#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "map/MapGrid.h"
#include "map/Status.h"

namespace zandrel::tools {

// "Aggiorna Archivio Texture": the texture list, and with it the map's texture table, rebuilt
// from the image files of a directory. Cells and the enemies keep their slot numbers, so after
// a rebuild a slot may name another image than before.

// The names that always open the list, in this order, whether or not such images exist.
inline constexpr const char* kFixedTextureNames[] = {"tile.jpg", "wall.jpg", "enemy.jpg"};

// The list from the names of a directory's files: the "*.jpg" names (not hidden ones) sorted
// without regard to case, then one entry starting with each fixed name removed and the fixed
// names put in front. Names the map cannot store or read back (over 119 characters, or holding
// a double quote) are left out, and the list is cut to the map's 50 slots.
std::vector<std::string> BuildTextureList(const std::vector<std::string>& fileNames);

// The list into the map's texture table: numtex entries, slot i holding entry i.
void StoreTextureList(map::MapGrid& map, const std::vector<std::string>& list);

// The list as a map's table gives it: the names of slots 0..numtex-1 (none for a negative
// count).
std::vector<std::string> TextureTableList(const map::MapGrid& map);

// A window's first look at a map: its list starts as the table, and the table is then stored
// back from the list, so a negative count becomes 0 as in every later save.
std::vector<std::string> AdoptTextureTable(map::MapGrid& map);

// BuildTextureList then StoreTextureList; returns the list for the panel to show.
std::vector<std::string> RefreshTextureArchive(map::MapGrid& map,
                                               const std::vector<std::string>& fileNames);

// The names of the regular files in directory (symbolic links followed), in no set order.
Status ListDirectoryFiles(const std::filesystem::path& directory, std::vector<std::string>& names);

}  // namespace zandrel::tools
