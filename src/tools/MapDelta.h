#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "map/CellRect.h"
#include "map/MapGrid.h"
#include "tools/PackedValues.h"

namespace zandrel::tools {

// What one edit changed in the content of a map, the part a save writes: every value before
// and after it, over the smallest block of cells holding every cell that changed, only for the
// cell values that changed somewhere in it, plus the sizes, placements and texture slots that
// changed. Cells and slots are compared over the whole storage, in use or not, so putting the
// values back gives the grid exactly, whatever the sizes do in between. Selection, texture
// objects and normals are no content: a delta neither keeps nor touches them.
class MapDelta {
public:
    MapDelta() = default;
    static MapDelta Between(const map::MapGrid& before, const map::MapGrid& after);

    bool Empty() const { return columns_.empty() && !header_ && slots_.empty(); }
    // Writes the values from before / after into grid; content not in the delta stays.
    void ApplyBefore(map::MapGrid& grid) const { Apply(grid, true); }
    void ApplyAfter(map::MapGrid& grid) const { Apply(grid, false); }

    // The cells whose values changed and the cells the start or an enemy left or reached;
    // unset when only the texture table changed.
    const map::CellRect& Touched() const { return touched_; }
    // Memory the delta takes, itself included.
    std::size_t Bytes() const;

private:
    // The sizes, the texture count, the enemies' slot and the corners of the start and the
    // four enemies, in one block of integers.
    static constexpr std::size_t kHeaderCount = 4 + 4 + 4 * map::kEnemySlotCount;
    using Header = std::array<std::int32_t, kHeaderCount>;

    struct Column {
        std::int32_t field = 0;
        PackedValues before;
        PackedValues after;
    };
    struct SlotChange {
        std::int32_t slot = 0;
        std::string before;
        std::string after;
    };

    static Header ReadHeader(const map::MapGrid& grid);
    static void WriteHeader(const Header& header, map::MapGrid& grid);
    void Apply(map::MapGrid& grid, bool before) const;
    void AddPlacementsToTouched(const Header& before, const Header& after);

    // The stored block the columns cover, scanned x outer, z inner as the storage lies.
    map::CellRect block_;
    std::vector<Column> columns_;
    std::optional<std::array<Header, 2>> header_;  // before, after
    std::vector<SlotChange> slots_;
    map::CellRect touched_;
};

}  // namespace zandrel::tools
