#include "mapfile/MapKeyIndex.h"

#include <optional>

#include "map/MapGrid.h"

namespace zandrel::mapfile {

static_assert(MapKeyIndex::kIndexLimit == map::kMaxMapSize);
static_assert(MapKeyIndex::kIndexLimit == map::kMaxTextureSlots);
static_assert(MapKeyIndex::kEnemyLimit == map::kEnemySlotCount);

namespace {

constexpr std::string_view kScalarNames[] = {"SizeX",      "SizeZ", "numtex",
                                             "Enemys_Tex", "X_S",   "Z_S"};
constexpr std::string_view kCellFieldNames[] = {"NO",    "NE",    "SO",   "SE",   "C",
                                                "typet", "typew", "goal", "grav", "artr"};

// Takes from the front of text an index as "%d" writes one below limit: "0", or a digit 1-9
// followed by more digits, no sign. Anything else, or an index at or above limit (which no
// loader reads), gives nothing.
std::optional<int> TakeIndex(std::string_view& text, int limit) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + (text[digits] - '0');
        if (value >= limit) {
            return std::nullopt;
        }
        ++digits;
    }
    if (digits == 0 || (digits > 1 && text[0] == '0')) {
        return std::nullopt;
    }
    text.remove_prefix(digits);
    return value;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (!text.starts_with(prefix)) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

MapKeyIndex::MapKeyIndex(const AttributeTable& table)
    : table_(table),
      cells_(static_cast<std::size_t>(kIndexLimit * kIndexLimit * kCellFieldCount), kAbsent) {
    scalars_.fill(kAbsent);
    textures_.fill(kAbsent);
    enemies_.fill(kAbsent);
    table.ForEachPlaceInDocumentOrder(
        [this](std::string_view name, Ref value) { Add(name, value); });
}

std::string_view MapKeyIndex::NameOf(Scalar key) {
    return kScalarNames[static_cast<int>(key)];
}

std::string_view MapKeyIndex::NameOf(CellField field) {
    return kCellFieldNames[static_cast<int>(field)];
}

void MapKeyIndex::Add(std::string_view name, Ref value) {
    // Cell names are nearly all of a map: "<field>_<x>_<z>". No field name holds a '_', so the
    // one that name starts with, followed by '_', is all of name up to its first '_'; looking at
    // the byte after each field name's length first leaves few names to compare.
    for (int field = 0; field < kCellFieldCount; ++field) {
        const std::string_view head = kCellFieldNames[field];
        if (name.size() <= head.size() || name[head.size()] != '_' || !name.starts_with(head)) {
            continue;
        }
        std::string_view rest = name.substr(head.size() + 1);
        const std::optional<int> x = TakeIndex(rest, kIndexLimit);
        if (x && TakePrefix(rest, "_")) {
            const std::optional<int> z = TakeIndex(rest, kIndexLimit);
            if (z && rest.empty()) {
                cells_[(*x * kIndexLimit + *z) * kCellFieldCount + field] = value;
            }
        }
        return;
    }
    for (int key = 0; key < kScalarCount; ++key) {
        if (name == kScalarNames[key]) {
            scalars_[key] = value;
            return;
        }
    }
    std::string_view rest = name;
    if (TakePrefix(rest, "Tex_")) {
        const std::optional<int> slot = TakeIndex(rest, kIndexLimit);
        if (slot && rest.empty()) {
            textures_[*slot] = value;
        }
        return;
    }
    if (TakePrefix(rest, "Enemy_")) {
        const std::optional<int> slot = TakeIndex(rest, kEnemyLimit);
        if (slot && (rest == "_X" || rest == "_Z")) {
            enemies_[*slot * 2 + (rest == "_Z" ? 1 : 0)] = value;
        }
    }
}

}  // namespace zandrel::mapfile
