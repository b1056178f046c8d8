#include "mapfile/MapWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <system_error>

namespace zandrel::mapfile {

namespace {

using map::MapCell;
using map::MapGrid;

// printf-style append; the map's lines are short, so one stack buffer always fits.
[[gnu::format(printf, 2, 3)]] void Append(std::string& out, const char* format, ...) {
    char line[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length > 0) {
        out.append(line, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof line - 1));
    }
}

void AppendCell(std::string& out, std::int32_t x, std::int32_t z, const MapCell& cell) {
    // Heights go out as NO, NE, SO, SE, C; the blanks before "=" and at line ends are part of
    // the format that existing maps and tools rely on.
    Append(out, " NO_%d_%d =\"%f\"\n", x, z, cell.NO);
    Append(out, " NE_%d_%d =\"%f\"\n", x, z, cell.NE);
    Append(out, " SO_%d_%d =\"%f\" \n", x, z, cell.SO);
    Append(out, " SE_%d_%d =\"%f\" \n", x, z, cell.SE);
    Append(out, " C_%d_%d =\"%f\" \n", x, z, cell.C);
    Append(out, " typet_%d_%d =\"%d\" \n", x, z, cell.typet);
    Append(out, " typew_%d_%d =\"%d\" \n", x, z, cell.typew);
    Append(out, " goal_%d_%d =\"%d\" \n", x, z, cell.goal);
    Append(out, " grav_%d_%d =\"%f\" \n", x, z, cell.grav);
    Append(out, " artr_%d_%d =\"%f\" \n", x, z, cell.artr);
}

Status ErrnoFailure(const std::string& what, int error) {
    return Status::Failure(what + ": " + std::generic_category().message(error));
}

// Writes all of text to fd, retrying short writes.
bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A special file (device, pipe) cannot be replaced by renaming; it is written directly.
Status WriteInPlace(const std::string& text, const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        return ErrnoFailure("cannot open " + path.string(), errno);
    }
    const bool written = WriteAll(fd, text);
    const int writeError = errno;
    if (::close(fd) != 0 && written) {
        return ErrnoFailure("cannot write " + path.string(), errno);
    }
    return written ? Status::Ok() : ErrnoFailure("cannot write " + path.string(), writeError);
}

}  // namespace

std::string FormatMap(const MapGrid& grid) {
    std::string out;
    const std::size_t cells =
        grid.SizeX > 0 && grid.SizeZ > 0 ? static_cast<std::size_t>(grid.SizeX * grid.SizeZ) : 0;
    out.reserve(512 + cells * 300);

    out += "<ZanMap\n";
    Append(out, " SizeX=\"%d\" \n", grid.SizeX);
    Append(out, " SizeZ=\"%d\" \n", grid.SizeZ);
    Append(out, " numtex=\"%d\" \n", grid.numtex);
    for (std::int32_t i = 0; i < grid.numtex && i < map::kMaxTextureSlots; ++i) {
        Append(out, " Tex_%d=\"%s\"\n", i, grid.textures[i].CStr());
    }
    Append(out, " Enemys_Tex=\"%i\" \n", grid.Enemys_Tex);
    for (std::int32_t x = 0; x < grid.SizeX && x < map::kMaxMapSize; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ && z < map::kMaxMapSize; ++z) {
            AppendCell(out, x, z, grid.cells[x][z]);
        }
    }
    Append(out, " X_S=\"%d\"\n", grid.start.x1);
    Append(out, " Z_S=\"%d\"\n", grid.start.z1);
    for (std::int32_t k = 0; k < map::kEnemySlotCount; ++k) {
        Append(out, " Enemy_%d_X=\"%d\" \n", k, grid.enemies[k].x0);
        Append(out, " Enemy_%d_Z=\"%d\" \n", k, grid.enemies[k].z0);
    }
    out += "/>\n";
    return out;
}

bool WriteMap(const MapGrid& grid, std::FILE* stream) {
    const std::string text = FormatMap(grid);
    const bool written = std::fwrite(text.data(), 1, text.size(), stream) == text.size();
    return std::fflush(stream) == 0 && written && !std::ferror(stream);
}

Status SaveMapFile(const MapGrid& grid, const std::filesystem::path& requested) {
    const std::string text = FormatMap(grid);

    // Replace what a symbolic link points to, not the link.
    std::error_code error;
    std::filesystem::path path = requested;
    if (std::filesystem::is_symlink(requested, error)) {
        path = std::filesystem::weakly_canonical(requested, error);
        if (error) {
            return Status::Failure("cannot resolve " + requested.string() + ": " + error.message());
        }
    }

    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        return Status::Failure("cannot save " + path.string() + ": it is a folder");
    }
    if (exists && !S_ISREG(existing.st_mode)) {
        return WriteInPlace(text, path);
    }

    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    std::string hiddenName = ".";
    hiddenName += path.filename().string();
    hiddenName += ".XXXXXX";
    std::string temporary = (folder / hiddenName).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return ErrnoFailure("cannot create a file in " + folder.string(), errno);
    }

    // The new file gets the old one's permissions, or the usual ones for a new file.
    mode_t mode = existing.st_mode & 07777;
    if (!exists) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    int failure = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temporary.c_str());
        return ErrnoFailure("cannot save " + path.string(), failure);
    }
    return Status::Ok();
}

}  // namespace zandrel::mapfile
