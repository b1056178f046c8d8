#include "mapfile/MapWriter.h"

#include <cstdarg>
#include <cstring>

#include "mapfile/SafeFileWriter.h"

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

Status SaveMapFile(const MapGrid& grid, const std::filesystem::path& path) {
    return ReplaceFileContents(path, FormatMap(grid));
}

}  // namespace zandrel::mapfile
