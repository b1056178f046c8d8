#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "mapfile/AttributeTable.h"

namespace zandrel::mapfile {

// Where the attributes a map loader reads stand in a table, found in one walk over the table
// instead of one formatted name and one lookup per value. A name counts only when it is spelled
// exactly as the loader's printf templates spell it ("NO_%d_%d": decimal indices without
// leading zeros or signs), so "NO_012_7" or "NO_+1_2" stay the unread attributes they always
// were. Of a repeated name the last value counts, as in the table itself.
class MapKeyIndex {
public:
    // Per-cell values in the order the loader reads them.
    enum class CellField : std::uint8_t { NO, NE, SO, SE, C, typet, typew, goal, grav, artr };
    static constexpr int kCellFieldCount = 10;
    // Values that are not per cell, texture or enemy.
    enum class Scalar : std::uint8_t { SizeX, SizeZ, numtex, Enemys_Tex, X_S, Z_S };
    static constexpr int kScalarCount = 6;

    // The largest index any template can be read with: sizes and slots are at most 50.
    static constexpr int kIndexLimit = 50;
    static constexpr int kEnemyLimit = 4;

    // Reads table, which must stay unchanged while the index is used.
    explicit MapKeyIndex(const AttributeTable& table);

    // The value stored under each name, or nothing when the table has no such name.
    std::optional<std::string_view> Find(Scalar key) const {
        return Value(scalars_[static_cast<int>(key)]);
    }
    std::optional<std::string_view> Texture(int slot) const { return Value(textures_[slot]); }
    std::optional<std::string_view> Cell(CellField field, int x, int z) const {
        return Value(cells_[(x * kIndexLimit + z) * kCellFieldCount + static_cast<int>(field)]);
    }
    std::optional<std::string_view> EnemyX(int slot) const { return Value(enemies_[slot * 2]); }
    std::optional<std::string_view> EnemyZ(int slot) const { return Value(enemies_[slot * 2 + 1]); }

    // The names as the templates spell them, for lookups of absent attributes.
    static std::string_view NameOf(Scalar key);
    static std::string_view NameOf(CellField field);

private:
    // A value's place, or kAbsent.
    using Ref = AttributeTable::Place;
    static constexpr Ref kAbsent{std::numeric_limits<std::uint32_t>::max(), 0};

    void Add(std::string_view name, Ref value);
    std::optional<std::string_view> Value(Ref ref) const {
        if (ref.offset == kAbsent.offset) {
            return std::nullopt;
        }
        return table_.View(ref);
    }

    const AttributeTable& table_;
    std::array<Ref, kScalarCount> scalars_;
    std::array<Ref, kIndexLimit> textures_;
    std::array<Ref, kEnemyLimit * 2> enemies_;
    std::vector<Ref> cells_;
};

}  // namespace zandrel::mapfile
