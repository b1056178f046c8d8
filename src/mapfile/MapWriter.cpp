#include "mapfile/MapWriter.h"

#include <string_view>

#include "mapfile/SafeFileWriter.h"

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

Status SaveMapFile(const MapGrid& grid, const std::filesystem::path& path) {
    return ReplaceFileContents(path, FormatMap(grid));
}

}  // namespace zandrel::mapfile
