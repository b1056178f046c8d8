#include "mapfile/MapLoader.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "mapfile/NumberText.h"

namespace zandrel::mapfile {

namespace {

using map::MapCell;
using map::MapGrid;

// Reads attributes the way the map format always has: atoi/atof in the "C" locale on the value,
// where an absent or malformed value is 0. Lookups insert absent names, as the table's lookup does.
class AttributeReader {
public:
    explicit AttributeReader(AttributeTable& table) : table_(table) {}

    const std::string& Text(const char* name) { return table_.Lookup(name); }
    std::int32_t Int(const char* name) { return ReadInt(Text(name)); }
    double Double(const char* name) { return ReadDouble(Text(name)); }

    // The same with a key made from a printf template.
    template <typename... Args>
    std::int32_t Int(const char* format, Args... args) {
        return Int(Key(format, args...));
    }
    template <typename... Args>
    double Double(const char* format, Args... args) {
        return Double(Key(format, args...));
    }
    template <typename... Args>
    const std::string& Text(const char* format, Args... args) {
        return Text(Key(format, args...));
    }

private:
    template <typename... Args>
    const char* Key(const char* format, Args... args) {
        std::snprintf(key_, sizeof key_, format, args...);
        return key_;
    }

    AttributeTable& table_;
    char key_[64] = {};
};

// A name is used up to its first NUL byte, as a C string copy would. A name that is then a line
// feed alone becomes empty: the writer would put it between the quotes, and a value of one line
// feed reads back as empty, so the name could never survive a save and reopen.
std::string_view TextureNameOf(const std::string& value) {
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

}  // namespace

Status LoadFromTable(MapGrid& grid, MarkupElement& root) {
    AttributeReader in(root.attributes);

    const std::int32_t sizeX = in.Int("SizeX");
    const std::int32_t sizeZ = in.Int("SizeZ");
    const std::int32_t numtex = in.Int("numtex");
    for (const Status& limit : {CheckLimit("SizeX", sizeX, map::kMaxMapSize),
                                CheckLimit("SizeZ", sizeZ, map::kMaxMapSize),
                                CheckLimit("numtex", numtex, map::kMaxTextureSlots)}) {
        if (!limit) {
            return limit;
        }
    }

    // Filled on a copy so a refused file leaves grid as it was; the copy also keeps what the
    // file does not set (cells outside the new size, slots above numtex, the selection).
    auto loaded = std::make_unique<MapGrid>(grid);
    loaded->SizeX = sizeX;
    loaded->SizeZ = sizeZ;
    loaded->numtex = numtex;
    for (std::int32_t i = 0; i < numtex; ++i) {
        const std::string_view name = TextureNameOf(in.Text("Tex_%d", i));
        if (!loaded->textures[i].Assign(name)) {
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
    loaded->Enemys_Tex = in.Int("Enemys_Tex");
    for (std::int32_t x = 0; x < sizeX; ++x) {
        for (std::int32_t z = 0; z < sizeZ; ++z) {
            MapCell& cell = loaded->cells[x][z];
            cell.NO = in.Double("NO_%d_%d", x, z);
            cell.NE = in.Double("NE_%d_%d", x, z);
            cell.SO = in.Double("SO_%d_%d", x, z);
            cell.SE = in.Double("SE_%d_%d", x, z);
            cell.C = in.Double("C_%d_%d", x, z);
            cell.typet = in.Int("typet_%d_%d", x, z);
            cell.typew = in.Int("typew_%d_%d", x, z);
            cell.goal = in.Int("goal_%d_%d", x, z);
            cell.grav = in.Double("grav_%d_%d", x, z);
            cell.artr = in.Double("artr_%d_%d", x, z);
        }
    }
    const std::int32_t startX = in.Int("X_S");
    const std::int32_t startZ = in.Int("Z_S");
    loaded->start.Set(startX, startZ, startX, startZ);
    for (std::int32_t k = 0; k < map::kEnemySlotCount; ++k) {
        const std::int32_t x = in.Int("Enemy_%d_X", k);
        const std::int32_t z = in.Int("Enemy_%d_Z", k);
        loaded->enemies[k].Set(x, z, x, z);
    }
    loaded->ComputeNormals();
    grid = *loaded;
    return Status::Ok();
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
