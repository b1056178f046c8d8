#include "mapfile/MapWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <system_error>

#include "mapfile/NumberText.h"

namespace zandrel::mapfile {

namespace {

using map::MapCell;
using map::MapGrid;

// Builds the map text from literal pieces and numbers; numbers go through NumberText so the
// bytes are those of printf in the "C" locale, whatever locale the editor runs under.
class MapTextAppender {
public:
    explicit MapTextAppender(std::string& out) : out_(out) {}

    MapTextAppender& Text(std::string_view text) {
        out_ += text;
        return *this;
    }
    MapTextAppender& Int(std::int32_t value) {
        AppendInt(out_, value);
        return *this;
    }
    MapTextAppender& Fixed(double value) {
        AppendFixed(out_, value);
        return *this;
    }

private:
    std::string& out_;
};

void AppendCell(MapTextAppender& out, std::int32_t x, std::int32_t z, const MapCell& cell) {
    // The "_x_z" part every name of the cell shares.
    std::string where = "_";
    AppendInt(where, x);
    where += '_';
    AppendInt(where, z);

    // Heights go out as NO, NE, SO, SE, C; the blanks before "=" and at line ends are part of
    // the format that existing maps and tools rely on.
    out.Text(" NO").Text(where).Text(" =\"").Fixed(cell.NO).Text("\"\n");
    out.Text(" NE").Text(where).Text(" =\"").Fixed(cell.NE).Text("\"\n");
    out.Text(" SO").Text(where).Text(" =\"").Fixed(cell.SO).Text("\" \n");
    out.Text(" SE").Text(where).Text(" =\"").Fixed(cell.SE).Text("\" \n");
    out.Text(" C").Text(where).Text(" =\"").Fixed(cell.C).Text("\" \n");
    out.Text(" typet").Text(where).Text(" =\"").Int(cell.typet).Text("\" \n");
    out.Text(" typew").Text(where).Text(" =\"").Int(cell.typew).Text("\" \n");
    out.Text(" goal").Text(where).Text(" =\"").Int(cell.goal).Text("\" \n");
    out.Text(" grav").Text(where).Text(" =\"").Fixed(cell.grav).Text("\" \n");
    out.Text(" artr").Text(where).Text(" =\"").Fixed(cell.artr).Text("\" \n");
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
    std::string text;
    const std::size_t cells =
        grid.SizeX > 0 && grid.SizeZ > 0 ? static_cast<std::size_t>(grid.SizeX * grid.SizeZ) : 0;
    text.reserve(512 + cells * 300);

    MapTextAppender out(text);
    out.Text("<ZanMap\n");
    out.Text(" SizeX=\"").Int(grid.SizeX).Text("\" \n");
    out.Text(" SizeZ=\"").Int(grid.SizeZ).Text("\" \n");
    out.Text(" numtex=\"").Int(grid.numtex).Text("\" \n");
    for (std::int32_t i = 0; i < grid.numtex && i < map::kMaxTextureSlots; ++i) {
        // Names are C strings: written up to their first NUL.
        out.Text(" Tex_").Int(i).Text("=\"").Text(grid.textures[i].CStr()).Text("\"\n");
    }
    out.Text(" Enemys_Tex=\"").Int(grid.Enemys_Tex).Text("\" \n");
    for (std::int32_t x = 0; x < grid.SizeX && x < map::kMaxMapSize; ++x) {
        for (std::int32_t z = 0; z < grid.SizeZ && z < map::kMaxMapSize; ++z) {
            AppendCell(out, x, z, grid.cells[x][z]);
        }
    }
    out.Text(" X_S=\"").Int(grid.start.x1).Text("\"\n");
    out.Text(" Z_S=\"").Int(grid.start.z1).Text("\"\n");
    for (std::int32_t k = 0; k < map::kEnemySlotCount; ++k) {
        out.Text(" Enemy_").Int(k).Text("_X=\"").Int(grid.enemies[k].x0).Text("\" \n");
        out.Text(" Enemy_").Int(k).Text("_Z=\"").Int(grid.enemies[k].z0).Text("\" \n");
    }
    out.Text("/>\n");
    return text;
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
