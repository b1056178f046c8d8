#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zandrel::tools {

// An error makes the map unfit for the game; a warning names something the game can live with
// (a texture image that is not there draws as a plain colour).
enum class FindingSeverity { Error, Warning };

// The rules of the map check. A rule's name (MapCheckRule::name) is the stable key that
// zdmtool prints and the editor looks its own texts up by; the enum order is the order in
// which findings are listed.
enum class MapCheckCode {
    SizeEmpty,             // "size-empty": SizeX or SizeZ is 0 or below, the map has no cell
    TextureCountNegative,  // "texture-count-negative": numtex below 0
    StartMissing,          // "start-missing": no start cell placed
    StartOutside,          // "start-outside": the start cell lies outside the map
    EnemyOutside,          // "enemy-outside": a placed enemy lies outside the map
    NoGoal,                // "no-goal": no cell of the map is a goal
    EnemyTextureRange,     // "enemy-texture-range": Enemys_Tex is not a slot of the table
    TextureMissing,        // "texture-missing": a slot's image file cannot be found (warning)
    TileTextureRange,      // "tile-texture-range": a cell's typet is not a slot of the table
    WallTextureRange,      // "wall-texture-range": a cell's typew is not a slot of the table
    HeightNotFinite,       // "height-not-finite": a corner or centre height is NaN or infinite
    GravityNotFinite,      // "gravity-not-finite"
    FrictionNotFinite,     // "friction-not-finite"
};

struct MapCheckRule {
    MapCheckCode code;
    std::string_view name;
    FindingSeverity severity;
};

// Every rule, in MapCheckCode order.
std::span<const MapCheckRule> MapCheckRules();
const MapCheckRule& RuleOf(MapCheckCode code);
// "error" or "warning".
std::string_view SeverityName(FindingSeverity severity);

struct CellIndex {
    std::int32_t x = 0;
    std::int32_t z = 0;
    bool operator==(const CellIndex&) const = default;
};

// One thing the check found. cell is set only for a cell of the map (inside SizeX by SizeZ),
// so a viewer can always select it; positions outside the map are named in the message.
// message is short English text on one line.
struct MapFinding {
    MapCheckCode code;
    FindingSeverity severity;
    std::optional<CellIndex> cell;
    std::string message;

    std::string_view CodeName() const { return RuleOf(code).name; }
};

bool HasErrors(std::span<const MapFinding> findings);

}  // namespace zandrel::tools
