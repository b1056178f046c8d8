#include "PugixmlMapReader.h"

#include <pugixml.hpp>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace zandrel::bench {

namespace {

using map::MapCell;

// The cell member a name's field stands for, or nullptr.
double* DoubleField(MapCell& cell, std::string_view field) {
    if (field == "NO")
        return &cell.NO;
    if (field == "NE")
        return &cell.NE;
    if (field == "SO")
        return &cell.SO;
    if (field == "SE")
        return &cell.SE;
    if (field == "C")
        return &cell.C;
    if (field == "grav")
        return &cell.grav;
    if (field == "artr")
        return &cell.artr;
    return nullptr;
}

std::int32_t* IntField(MapCell& cell, std::string_view field) {
    if (field == "typet")
        return &cell.typet;
    if (field == "typew")
        return &cell.typew;
    if (field == "goal")
        return &cell.goal;
    return nullptr;
}

int ToInt(const char* text) {
    return static_cast<int>(std::strtol(text, nullptr, 10));
}

// "<field>_<x>_<z>" into the cell's member.
bool ReadCellValue(map::MapGrid& grid, const char* name, const char* value) {
    const char* first = std::strchr(name, '_');
    if (first == nullptr) {
        return false;
    }
    char* end = nullptr;
    const long x = std::strtol(first + 1, &end, 10);
    if (*end != '_') {
        return false;
    }
    const long z = std::strtol(end + 1, &end, 10);
    if (*end != '\0' || x < 0 || z < 0 || x >= map::kMaxMapSize || z >= map::kMaxMapSize) {
        return false;
    }
    MapCell& cell = grid.cells[x][z];
    const std::string_view field(name, static_cast<std::size_t>(first - name));
    if (double* member = DoubleField(cell, field)) {
        *member = std::strtod(value, nullptr);
        return true;
    }
    if (std::int32_t* member = IntField(cell, field)) {
        *member = ToInt(value);
        return true;
    }
    return false;
}

}  // namespace

bool ReadMapWithPugixml(const std::filesystem::path& path, map::MapGrid& grid) {
    pugi::xml_document document;
    if (!document.load_file(path.c_str(), pugi::parse_default)) {
        return false;
    }
    int startX = 0;
    int startZ = 0;
    for (const pugi::xml_attribute attribute : document.document_element().attributes()) {
        const char* name = attribute.name();
        const char* value = attribute.value();
        if (ReadCellValue(grid, name, value)) {
            continue;
        }
        const std::string_view key(name);
        if (key == "SizeX") {
            grid.SizeX = ToInt(value);
        } else if (key == "SizeZ") {
            grid.SizeZ = ToInt(value);
        } else if (key == "numtex") {
            grid.numtex = ToInt(value);
        } else if (key == "Enemys_Tex") {
            grid.Enemys_Tex = ToInt(value);
        } else if (key == "X_S") {
            startX = ToInt(value);
        } else if (key == "Z_S") {
            startZ = ToInt(value);
        } else if (key.starts_with("Tex_")) {
            const int slot = ToInt(name + 4);
            if (slot >= 0 && slot < map::kMaxTextureSlots) {
                grid.textures[slot].Assign(value);
            }
        } else if (key.starts_with("Enemy_") && key.size() == 9) {
            const int slot = key[6] - '0';
            if (slot >= 0 && slot < map::kEnemySlotCount) {
                map::CellRect& enemy = grid.enemies[slot];
                if (key[8] == 'X') {
                    enemy.x0 = enemy.x1 = ToInt(value);
                } else {
                    enemy.z0 = enemy.z1 = ToInt(value);
                }
            }
        }
    }
    grid.start.Set(startX, startZ, startX, startZ);
    grid.ComputeNormals();  // as the map loader does, so both fill the same grid
    return true;
}

}  // namespace zandrel::bench
