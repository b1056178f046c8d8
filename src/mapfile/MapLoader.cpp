#include "mapfile/MapLoader.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "mapfile/MapKeyIndex.h"
#include "mapfile/NumberText.h"

namespace zandrel::mapfile {

namespace {

using map::MapCell;
using map::MapGrid;

using Field = MapKeyIndex::CellField;
using Scalar = MapKeyIndex::Scalar;

// Reads attributes the way the map format always has: atoi/atof in the "C" locale on the value,
// where an absent or malformed value is 0. Values come from one walk over the table
// (MapKeyIndex); the names found absent are kept, to be inserted afterwards with empty values as
// the table's inserting lookups would have.
class AttributeReader {
public:
    explicit AttributeReader(const AttributeTable& table) : index_(table) {}

    std::int32_t Int(Scalar key) {
        return ReadInt(Value(index_.Find(key), MapKeyIndex::NameOf(key)));
    }
    std::string_view Texture(std::int32_t slot) {
        const std::optional<std::string_view> value = index_.Texture(slot);
        return value ? *value : Absent("Tex_" + std::to_string(slot));
    }
    double CellDouble(Field field, std::int32_t x, std::int32_t z) {
        return ReadDouble(CellValue(field, x, z));
    }
    std::int32_t CellInt(Field field, std::int32_t x, std::int32_t z) {
        return ReadInt(CellValue(field, x, z));
    }
    std::int32_t EnemyX(std::int32_t slot) {
        const std::optional<std::string_view> value = index_.EnemyX(slot);
        return ReadInt(value ? *value : Absent("Enemy_" + std::to_string(slot) + "_X"));
    }
    std::int32_t EnemyZ(std::int32_t slot) {
        const std::optional<std::string_view> value = index_.EnemyZ(slot);
        return ReadInt(value ? *value : Absent("Enemy_" + std::to_string(slot) + "_Z"));
    }

    // The names read but absent, for AttributeTable::InsertAbsent.
    std::vector<std::string> TakeAbsentNames() { return std::move(absent_); }

private:
    std::string_view Value(std::optional<std::string_view> value, std::string_view name) {
        return value ? *value : Absent(std::string(name));
    }
    std::string_view CellValue(Field field, std::int32_t x, std::int32_t z) {
        const std::optional<std::string_view> value = index_.Cell(field, x, z);
        if (value) {
            return *value;
        }
        return Absent(std::string(MapKeyIndex::NameOf(field)) + "_" + std::to_string(x) + "_" +
                      std::to_string(z));
    }
    std::string_view Absent(std::string name) {
        absent_.push_back(std::move(name));
        // Empty, but pointing somewhere: its bytes may be copied with memcpy.
        return std::string_view("");
    }

    const MapKeyIndex index_;
    std::vector<std::string> absent_;
};

// A name is used up to its first NUL byte, as a C string copy would. A name that is then a line
// feed alone becomes empty: the writer would put it between the quotes, and a value of one line
// feed reads back as empty, so the name could never survive a save and reopen.
std::string_view TextureNameOf(std::string_view value) {
    const std::string_view name(value.data(), std::min(value.size(), value.find('\0')));
    return name == "\n" ? name.substr(0, 0) : name;
}

Status CheckLimit(const char* name, std::int32_t value, std::int32_t limit) {
    if (value > limit) {
        FailureCause cause;
        cause.kind = FailureKind::AboveLimit;
        cause.attribute = name;
        cause.value = value;
        cause.limit = limit;
        return Status::Failure(std::string(name) + " " + std::to_string(value) +
                                   " is above the limit of " + std::to_string(limit),
                               cause);
    }
    return Status::Ok();
}

// Everything that can refuse a file is checked before grid is written, so a refused file leaves
// grid as it was; what the file does not set (cells outside the new size, slots above numtex,
// the selection) stays as it was too. Writing in place spares two copies of the whole grid.
Status Load(MapGrid& grid, AttributeReader& in) {
    const std::int32_t sizeX = in.Int(Scalar::SizeX);
    const std::int32_t sizeZ = in.Int(Scalar::SizeZ);
    const std::int32_t numtex = in.Int(Scalar::numtex);
    for (const Status& limit : {CheckLimit("SizeX", sizeX, map::kMaxMapSize),
                                CheckLimit("SizeZ", sizeZ, map::kMaxMapSize),
                                CheckLimit("numtex", numtex, map::kMaxTextureSlots)}) {
        if (!limit) {
            return limit;
        }
    }

    std::array<map::TextureName, map::kMaxTextureSlots> names;
    for (std::int32_t i = 0; i < numtex; ++i) {
        const std::string_view name = TextureNameOf(in.Texture(i));
        if (!names[i].Assign(name)) {
            FailureCause cause;
            cause.kind = FailureKind::NameTooLong;
            cause.attribute = "Tex_" + std::to_string(i);
            cause.value = static_cast<std::int64_t>(name.size());
            cause.limit = map::TextureName::kMaxLength;
            return Status::Failure(cause.attribute + " is " + std::to_string(name.size()) +
                                       " characters long, above the limit of " +
                                       std::to_string(map::TextureName::kMaxLength),
                                   cause);
        }
    }
    grid.SizeX = sizeX;
    grid.SizeZ = sizeZ;
    grid.numtex = numtex;
    std::copy_n(names.begin(), numtex, grid.textures.begin());
    grid.Enemys_Tex = in.Int(Scalar::Enemys_Tex);
    for (std::int32_t x = 0; x < sizeX; ++x) {
        for (std::int32_t z = 0; z < sizeZ; ++z) {
            MapCell& cell = grid.cells[x][z];
            cell.NO = in.CellDouble(Field::NO, x, z);
            cell.NE = in.CellDouble(Field::NE, x, z);
            cell.SO = in.CellDouble(Field::SO, x, z);
            cell.SE = in.CellDouble(Field::SE, x, z);
            cell.C = in.CellDouble(Field::C, x, z);
            cell.typet = in.CellInt(Field::typet, x, z);
            cell.typew = in.CellInt(Field::typew, x, z);
            cell.goal = in.CellInt(Field::goal, x, z);
            cell.grav = in.CellDouble(Field::grav, x, z);
            cell.artr = in.CellDouble(Field::artr, x, z);
        }
    }
    const std::int32_t startX = in.Int(Scalar::X_S);
    const std::int32_t startZ = in.Int(Scalar::Z_S);
    grid.start.Set(startX, startZ, startX, startZ);
    for (std::int32_t k = 0; k < map::kEnemySlotCount; ++k) {
        const std::int32_t x = in.EnemyX(k);
        const std::int32_t z = in.EnemyZ(k);
        grid.enemies[k].Set(x, z, x, z);
    }
    grid.ComputeNormals();
    return Status::Ok();
}

}  // namespace

Status LoadFromTable(MapGrid& grid, MarkupElement& root) {
    AttributeReader in(root.attributes);
    Status loaded = Load(grid, in);
    // Only now, when no value read is held any more: inserting moves the table's entries.
    root.attributes.InsertAbsent(in.TakeAbsentNames());
    return loaded;
}

Status LoadMapFile(MapGrid& grid, const std::filesystem::path& path, const ParseOptions& options) {
    // A folder opens fine and only fails at its first read; say what it is instead.
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        FailureCause cause;
        cause.kind = FailureKind::IsFolder;
        return Status::Failure("cannot be read: it is a folder", cause);
    }
    ParseResult parsed = ParseMapFile(path, options);
    FailureCause cause;
    cause.line = parsed.line;
    switch (parsed.status) {
        case ParseStatus::Ok:
            return LoadFromTable(grid, *parsed.root);
        case ParseStatus::CannotOpen:
            cause = FailureCause::FromErrno(parsed.openError);
            return Status::Failure(
                "cannot be opened: " + std::generic_category().message(parsed.openError), cause);
        case ParseStatus::NameMismatch:
            cause.kind = FailureKind::TagMismatch;
            return Status::Failure("a closing tag does not match its element", cause);
        case ParseStatus::OutOfMemory:
            cause.kind = FailureKind::OutOfMemory;
            return Status::Failure("not enough memory to read it", cause);
        case ParseStatus::ReadError:
            cause.kind = FailureKind::ReadError;
            return Status::Failure(
                "cannot be read: read error at line " + std::to_string(parsed.line), cause);
        case ParseStatus::StackOverflow:
            cause.kind = FailureKind::StackOverflow;
            return Status::Failure(
                "cannot be read: parser stack overflow at line " + std::to_string(parsed.line),
                cause);
        case ParseStatus::SyntaxError:
            break;
    }
    cause.kind = FailureKind::ParseError;
    return Status::Failure("cannot be read: parse error at line " + std::to_string(parsed.line),
                           cause);
}

}  // namespace zandrel::mapfile
