#include "tools/MapFinding.h"

#include <algorithm>
#include <array>

namespace zandrel::tools {

namespace {

using enum MapCheckCode;
using enum FindingSeverity;

constexpr std::array kRules = {
    MapCheckRule{SizeEmpty, "size-empty", Error},
    MapCheckRule{TextureCountNegative, "texture-count-negative", Error},
    MapCheckRule{StartMissing, "start-missing", Error},
    MapCheckRule{StartOutside, "start-outside", Error},
    MapCheckRule{EnemyOutside, "enemy-outside", Error},
    MapCheckRule{NoGoal, "no-goal", Error},
    MapCheckRule{EnemyTextureRange, "enemy-texture-range", Error},
    MapCheckRule{TextureMissing, "texture-missing", Warning},
    MapCheckRule{TileTextureRange, "tile-texture-range", Error},
    MapCheckRule{WallTextureRange, "wall-texture-range", Error},
    MapCheckRule{HeightNotFinite, "height-not-finite", Error},
    MapCheckRule{GravityNotFinite, "gravity-not-finite", Error},
    MapCheckRule{FrictionNotFinite, "friction-not-finite", Error},
};

// RuleOf indexes the table by the enum's value.
constexpr bool InCodeOrder() {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (static_cast<std::size_t>(kRules[i].code) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InCodeOrder());

}  // namespace

std::span<const MapCheckRule> MapCheckRules() {
    return kRules;
}

const MapCheckRule& RuleOf(MapCheckCode code) {
    return kRules[static_cast<std::size_t>(code)];
}

std::string_view SeverityName(FindingSeverity severity) {
    return severity == Error ? "error" : "warning";
}

bool HasErrors(std::span<const MapFinding> findings) {
    return std::ranges::any_of(findings,
                               [](const MapFinding& each) { return each.severity == Error; });
}

}  // namespace zandrel::tools
