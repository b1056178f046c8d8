#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zandrel::tools {

// The names the history gives edits: the caption of the menu item or panel button that made
// them, without its mnemonic, so a user finds an entry under the word they clicked.
inline constexpr std::string_view kUnnamedEdit = "Modifica";
inline constexpr std::string_view kCutName = "Taglia";
inline constexpr std::string_view kPasteName = "Incolla";
inline constexpr std::string_view kMergeName = "Merge";
inline constexpr std::string_view kUndoName = "Annulla";
inline constexpr std::string_view kGoalName = "Area Goal";
inline constexpr std::string_view kStartName = "Start";
inline constexpr std::string_view kEnemyName = "Nemici";
inline constexpr std::string_view kApplyName = "Applica";
inline constexpr std::string_view kTileName = "Tile";
inline constexpr std::string_view kWallName = "Wall";
inline constexpr std::string_view kEnemyTextureName = "Enemy";
inline constexpr std::string_view kRefreshTexturesName = "Aggiorna Archivio Texture";
inline constexpr std::string_view kImportHeightmapName = "Importa heightmap";
inline constexpr std::string_view kMapSizeName = "Dimensioni mappa";
inline constexpr std::string_view kBrushTileName = "Pennello tile";
inline constexpr std::string_view kBrushWallName = "Pennello wall";

// The terrain tool's command ("Alzare", "Spianare", ...); cut's set-height tool is "Taglia".
// Empty for a mode that changes nothing.
std::string_view ToolName(std::int32_t mode);

// The entry a return to entry number makes: "Ritorno a 12".
std::string ReturnName(std::uint64_t number);

}  // namespace zandrel::tools
