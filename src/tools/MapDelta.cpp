#include "tools/MapDelta.h"

#include <algorithm>
#include <bit>

namespace zandrel::tools {

namespace {

using map::CellRect;
using map::MapCell;
using map::MapGrid;

// The ten values of a cell, in the order of MapCell, each as 64 bits: heights and physics
// bit for bit (a NaN read from a file is kept as it is), slots and the goal flag widened.
constexpr std::int32_t kFieldCount = 10;

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

std::uint64_t Bits(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

std::uint64_t FieldBits(const MapCell& cell, std::int32_t field) {
    switch (field) {
        case 0:
            return Bits(cell.NE);
        case 1:
            return Bits(cell.NO);
        case 2:
            return Bits(cell.SE);
        case 3:
            return Bits(cell.SO);
        case 4:
            return Bits(cell.C);
        case 5:
            return Bits(cell.typet);
        case 6:
            return Bits(cell.typew);
        case 7:
            return Bits(cell.goal);
        case 8:
            return Bits(cell.grav);
        default:
            return Bits(cell.artr);
    }
}

void SetField(MapCell& cell, std::int32_t field, std::uint64_t bits) {
    const double real = std::bit_cast<double>(bits);
    const auto whole = static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
    switch (field) {
        case 0:
            cell.NE = real;
            break;
        case 1:
            cell.NO = real;
            break;
        case 2:
            cell.SE = real;
            break;
        case 3:
            cell.SO = real;
            break;
        case 4:
            cell.C = real;
            break;
        case 5:
            cell.typet = whole;
            break;
        case 6:
            cell.typew = whole;
            break;
        case 7:
            cell.goal = whole;
            break;
        case 8:
            cell.grav = real;
            break;
        default:
            cell.artr = real;
            break;
    }
}

void Include(CellRect& rect, std::int32_t x, std::int32_t z) {
    if (rect.IsUnset()) {
        rect.Set(x, z, x, z);
        return;
    }
    rect.Set(std::min(rect.x0, x), std::min(rect.z0, z), std::max(rect.x1, x),
             std::max(rect.z1, z));
}

bool InStorage(std::int32_t x, std::int32_t z) {
    return x >= 0 && z >= 0 && x < map::kMaxMapSize && z < map::kMaxMapSize;
}

std::size_t StringHeapBytes(const std::string& text) {
    // Short names live inside the string itself.
    return text.capacity() > std::string().capacity() ? text.capacity() + 1 : 0;
}

}  // namespace

MapDelta MapDelta::Between(const MapGrid& before, const MapGrid& after) {
    MapDelta delta;
    std::uint32_t changedFields = 0;
    for (std::int32_t x = 0; x < map::kMaxMapSize; ++x) {
        for (std::int32_t z = 0; z < map::kMaxMapSize; ++z) {
            const MapCell& was = before.cells[x][z];
            const MapCell& now = after.cells[x][z];
            std::uint32_t differs = 0;
            for (std::int32_t field = 0; field < kFieldCount; ++field) {
                if (FieldBits(was, field) != FieldBits(now, field)) {
                    differs |= 1u << field;
                }
            }
            if (differs != 0) {
                changedFields |= differs;
                Include(delta.block_, x, z);
            }
        }
    }
    delta.touched_ = delta.block_;
    if (changedFields != 0) {
        const CellRect& block = delta.block_;
        std::vector<std::uint64_t> was;
        std::vector<std::uint64_t> now;
        for (std::int32_t field = 0; field < kFieldCount; ++field) {
            if ((changedFields & (1u << field)) == 0) {
                continue;
            }
            was.clear();
            now.clear();
            for (std::int32_t x = block.x0; x <= block.x1; ++x) {
                for (std::int32_t z = block.z0; z <= block.z1; ++z) {
                    was.push_back(FieldBits(before.cells[x][z], field));
                    now.push_back(FieldBits(after.cells[x][z], field));
                }
            }
            delta.columns_.push_back({field, PackedValues::Pack(was), PackedValues::Pack(now)});
        }
        delta.columns_.shrink_to_fit();
    }

    const Header headerBefore = ReadHeader(before);
    const Header headerAfter = ReadHeader(after);
    if (headerBefore != headerAfter) {
        delta.header_ = {headerBefore, headerAfter};
        delta.AddPlacementsToTouched(headerBefore, headerAfter);
    }
    for (std::int32_t slot = 0; slot < map::kMaxTextureSlots; ++slot) {
        const auto& was = before.textures[static_cast<std::size_t>(slot)];
        const auto& now = after.textures[static_cast<std::size_t>(slot)];
        if (!(was == now)) {
            delta.slots_.push_back({slot, std::string(was.View()), std::string(now.View())});
        }
    }
    delta.slots_.shrink_to_fit();
    return delta;
}

MapDelta::Header MapDelta::ReadHeader(const MapGrid& grid) {
    Header header{grid.SizeX, grid.SizeZ, grid.numtex, grid.Enemys_Tex};
    std::size_t at = 4;
    const auto put = [&](const CellRect& rect) {
        for (const std::int32_t corner : {rect.x0, rect.z0, rect.x1, rect.z1}) {
            header[at++] = corner;
        }
    };
    put(grid.start);
    for (const map::EnemySlot& enemy : grid.enemies) {
        put(enemy);
    }
    return header;
}

void MapDelta::WriteHeader(const Header& header, MapGrid& grid) {
    grid.SizeX = header[0];
    grid.SizeZ = header[1];
    grid.numtex = header[2];
    grid.Enemys_Tex = header[3];
    std::size_t at = 4;
    const auto take = [&](CellRect& rect) {
        rect.Set(header[at], header[at + 1], header[at + 2], header[at + 3]);
        at += 4;
    };
    take(grid.start);
    for (map::EnemySlot& enemy : grid.enemies) {
        take(enemy);
    }
}

void MapDelta::AddPlacementsToTouched(const Header& before, const Header& after) {
    for (std::size_t at = 4; at < kHeaderCount; at += 4) {
        if (std::equal(&before[at], &before[at] + 4, &after[at])) {
            continue;
        }
        for (const Header* header : {&before, &after}) {
            const std::int32_t x = (*header)[at];
            const std::int32_t z = (*header)[at + 1];
            if (InStorage(x, z)) {
                Include(touched_, x, z);
            }
        }
    }
}

void MapDelta::Apply(MapGrid& grid, bool before) const {
    for (const Column& column : columns_) {
        std::int32_t x = block_.x0;
        std::int32_t z = block_.z0;
        (before ? column.before : column.after).ForEach([&](std::uint64_t bits) {
            SetField(grid.cells[x][z], column.field, bits);
            if (++z > block_.z1) {
                z = block_.z0;
                ++x;
            }
        });
    }
    if (header_) {
        WriteHeader((*header_)[before ? 0 : 1], grid);
    }
    for (const SlotChange& change : slots_) {
        grid.textures[static_cast<std::size_t>(change.slot)].Assign(before ? change.before
                                                                           : change.after);
    }
}

std::size_t MapDelta::Bytes() const {
    std::size_t bytes = sizeof(*this) + columns_.capacity() * sizeof(Column) +
                        slots_.capacity() * sizeof(SlotChange);
    for (const Column& column : columns_) {
        bytes += column.before.HeapBytes() + column.after.HeapBytes();
    }
    for (const SlotChange& change : slots_) {
        bytes += StringHeapBytes(change.before) + StringHeapBytes(change.after);
    }
    return bytes;
}

}  // namespace zandrel::tools
