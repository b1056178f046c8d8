#include "tools/MapCheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <utility>

#include "tools/TextureFile.h"

namespace zandrel::tools {

namespace {

using enum MapCheckCode;

// Appended piece by piece: GCC 12 warns falsely about "(" + std::string in release builds.
std::string Position(std::int32_t x, std::int32_t z) {
    std::string text = "(";
    text += std::to_string(x);
    text += ", ";
    text += std::to_string(z);
    text += ')';
    return text;
}

std::string SizeText(const map::MapGrid& grid) {
    return std::to_string(grid.SizeX) + " x " + std::to_string(grid.SizeZ);
}

std::string TableText(const map::MapGrid& grid) {
    if (grid.numtex <= 0) {
        return "the texture table is empty";
    }
    return "the table has slots 0.." + std::to_string(grid.numtex - 1);
}

// A name from the file in double quotes, its control bytes written \xNN so that a finding stays
// on one line whatever the name holds.
std::string Quoted(std::string_view name) {
    std::string text = "\"";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '"' || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            text += escaped;
        } else {
            text += c;
        }
    }
    return text + "\"";
}

bool InTable(const map::MapGrid& grid, std::int32_t slot) {
    return slot >= 0 && slot < grid.numtex;
}

MapFinding Make(MapCheckCode code, std::string message) {
    return MapFinding{code, RuleOf(code).severity, std::nullopt, std::move(message)};
}

// Collects one rule's cell findings, keeping the first kMaxCellFindingsPerRule.
class CellFindings {
public:
    CellFindings(MapCheckCode code, std::string_view manyText) : code_(code), manyText_(manyText) {}

    void Add(std::int32_t x, std::int32_t z, std::string message) {
        if (found_.size() < kMaxCellFindingsPerRule) {
            MapFinding finding = Make(code_, std::move(message));
            finding.cell = CellIndex{x, z};
            found_.push_back(std::move(finding));
        } else {
            ++more_;
        }
    }

    void MoveTo(std::vector<MapFinding>& findings) {
        for (MapFinding& each : found_) {
            findings.push_back(std::move(each));
        }
        if (more_ > 0) {
            findings.push_back(Make(code_, std::to_string(more_) + " more cells " + manyText_));
        }
    }

private:
    MapCheckCode code_;
    std::string manyText_;
    std::vector<MapFinding> found_;
    std::size_t more_ = 0;
};

void CheckPlacements(const map::MapGrid& grid, std::vector<MapFinding>& findings) {
    const map::CellRect& start = grid.start;
    if (start.IsUnset()) {
        findings.push_back(Make(StartMissing, "no start cell is placed"));
    } else if (!grid.InMap(start.x0, start.z0)) {
        findings.push_back(Make(StartOutside, "the start " + Position(start.x0, start.z0) +
                                                  " lies outside the map (" + SizeText(grid) +
                                                  ")"));
    }
    for (std::int32_t k = 0; k < map::kEnemySlotCount; ++k) {
        const map::EnemySlot& enemy = grid.enemies[k];
        if (!enemy.IsUnset() && !grid.InMap(enemy.x0, enemy.z0)) {
            findings.push_back(Make(
                EnemyOutside, "enemy " + std::to_string(k) + " at " + Position(enemy.x0, enemy.z0) +
                                  " lies outside the map (" + SizeText(grid) + ")"));
        }
    }
}

// The block in use, bounded by what the grid can hold whatever its sizes say.
std::int32_t UsedX(const map::MapGrid& grid) {
    return std::min(grid.SizeX, map::kMaxMapSize);
}

std::int32_t UsedZ(const map::MapGrid& grid) {
    return std::min(grid.SizeZ, map::kMaxMapSize);
}

bool AnyGoal(const map::MapGrid& grid) {
    for (std::int32_t x = 0; x < UsedX(grid); ++x) {
        for (std::int32_t z = 0; z < UsedZ(grid); ++z) {
            if (grid.Cell(x, z).goal != 0) {
                return true;
            }
        }
    }
    return false;
}

void CheckTextureTable(const map::MapGrid& grid, const TextureLookup& textureExists,
                       std::vector<MapFinding>& findings) {
    if (!InTable(grid, grid.Enemys_Tex)) {
        findings.push_back(Make(EnemyTextureRange, "enemy texture slot " +
                                                       std::to_string(grid.Enemys_Tex) +
                                                       " is not in the table; " + TableText(grid)));
    }
    for (std::int32_t slot = 0; slot < std::min(grid.numtex, map::kMaxTextureSlots); ++slot) {
        const std::string_view name = grid.textures[slot].View();
        if (!textureExists(name)) {
            findings.push_back(Make(TextureMissing, "texture slot " + std::to_string(slot) +
                                                        " names " + Quoted(name) +
                                                        ", which cannot be found"));
        }
    }
}

void CheckCells(const map::MapGrid& grid, std::vector<MapFinding>& findings) {
    CellFindings tiles(TileTextureRange, "with a tile texture slot outside the table");
    CellFindings walls(WallTextureRange, "with a wall texture slot outside the table");
    CellFindings heights(HeightNotFinite, "with a height that is not a finite number");
    CellFindings gravity(GravityNotFinite, "with a gravity that is not a finite number");
    CellFindings friction(FrictionNotFinite, "with a friction that is not a finite number");
    for (std::int32_t x = 0; x < UsedX(grid); ++x) {
        for (std::int32_t z = 0; z < UsedZ(grid); ++z) {
            const map::MapCell& cell = grid.Cell(x, z);
            if (!InTable(grid, cell.typet)) {
                tiles.Add(x, z,
                          "tile texture slot " + std::to_string(cell.typet) +
                              " is not in the table; " + TableText(grid));
            }
            if (!InTable(grid, cell.typew)) {
                walls.Add(x, z,
                          "wall texture slot " + std::to_string(cell.typew) +
                              " is not in the table; " + TableText(grid));
            }
            const std::array<std::pair<const char*, double>, 5> corners = {{{"NE", cell.NE},
                                                                            {"NO", cell.NO},
                                                                            {"SE", cell.SE},
                                                                            {"SO", cell.SO},
                                                                            {"C", cell.C}}};
            std::string bad;
            for (const auto& [name, height] : corners) {
                if (!std::isfinite(height)) {
                    bad += bad.empty() ? name : std::string(", ") + name;
                }
            }
            if (!bad.empty()) {
                heights.Add(x, z, "height " + bad + " is not a finite number");
            }
            if (!std::isfinite(cell.grav)) {
                gravity.Add(x, z, "gravity is not a finite number");
            }
            if (!std::isfinite(cell.artr)) {
                friction.Add(x, z, "friction is not a finite number");
            }
        }
    }
    for (CellFindings* rule : {&tiles, &walls, &heights, &gravity, &friction}) {
        rule->MoveTo(findings);
    }
}

}  // namespace

TextureLookup TextureFilesIn(std::vector<std::filesystem::path> folders) {
    return [folders = std::move(folders)](std::string_view name) {
        for (const std::filesystem::path& folder : folders) {
            if (FindTextureFile(folder, name).ok()) {
                return true;
            }
        }
        return false;
    };
}

std::vector<MapFinding> CheckMap(const map::MapGrid& grid, const TextureLookup& textureExists) {
    std::vector<MapFinding> findings;
    const bool hasCells = grid.SizeX > 0 && grid.SizeZ > 0;
    if (!hasCells) {
        findings.push_back(Make(SizeEmpty, "the map has no cells (" + SizeText(grid) + ")"));
    }
    if (grid.numtex < 0) {
        findings.push_back(
            Make(TextureCountNegative, "numtex is " + std::to_string(grid.numtex) + ", below 0"));
    }
    if (hasCells) {
        CheckPlacements(grid, findings);
        if (!AnyGoal(grid)) {
            findings.push_back(Make(NoGoal, "no cell is a goal"));
        }
    }
    CheckTextureTable(grid, textureExists, findings);
    CheckCells(grid, findings);
    return findings;
}

}  // namespace zandrel::tools
