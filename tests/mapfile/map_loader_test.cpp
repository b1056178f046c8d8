// The loader and the writer: every field goes out and comes back, the golden file of a new map,
// the atoi/atof reading of values and the writer's bytes in any locale, and the limits of the grid.
#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "map/MapGrid.h"
#include "mapfile/MapKeyIndex.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapParser.h"
#include "mapfile/MapWriter.h"
#include "mapfile/NumberText.h"
#include "support/CommaDecimalLocale.h"
#include "support/ScratchFolder.h"

namespace zandrel::mapfile {
namespace {

using map::MapCell;
using map::MapGrid;

MarkupElement Root(const std::string& text) {
    auto parsed = ParseMapText(text, ParseOptions{nullptr, nullptr});
    EXPECT_TRUE(parsed.ok()) << text;
    return parsed.root ? std::move(*parsed.root) : MarkupElement{};
}

Status Load(MapGrid& grid, const std::string& text) {
    MarkupElement root = Root(text);
    return LoadFromTable(grid, root);
}

std::unique_ptr<MapGrid> NewMap() {
    return std::make_unique<MapGrid>(50, 50);
}

// Values that keep themselves through the file's six decimals.
rc::Gen<double> Heights() {
    return rc::gen::map(rc::gen::inRange(-2000000000, 2000000000),
                        [](int n) { return ReadDouble(FixedText(n / 1234567.0)); });
}

// Small generated maps of values with six decimals: every field the file holds comes back.
RC_GTEST_PROP(MapLoader, WrittenMapsLoadBackEqual, ()) {
    auto written = std::make_unique<MapGrid>(*rc::gen::inRange(1, 6), *rc::gen::inRange(1, 6));
    written->numtex = *rc::gen::inRange(0, 6);
    for (int i = 0; i < written->numtex; ++i)
        written->textures[i].Assign(
            *rc::gen::container<std::string>(rc::gen::elementOf(std::string("ab &<>._\t"))));
    written->Enemys_Tex = *rc::gen::inRange(-3, 60);
    for (int x = 0; x < written->SizeX; ++x) {
        for (int z = 0; z < written->SizeZ; ++z) {
            const auto ints = *rc::gen::tuple(rc::gen::inRange(-3, 60), rc::gen::inRange(-3, 60),
                                              rc::gen::inRange(-1, 3));
            written->cells[x][z] = MapCell{
                *Heights(),        *Heights(),        *Heights(),        *Heights(), *Heights(),
                std::get<0>(ints), std::get<1>(ints), std::get<2>(ints), *Heights(), *Heights()};
        }
    }
    const int sx = *rc::gen::inRange(0, written->SizeX);
    const int sz = *rc::gen::inRange(0, written->SizeZ);
    written->start.Set(sx, sz, sx, sz);
    for (auto& enemy : written->enemies) {
        if (*rc::gen::arbitrary<bool>()) {
            const int ex = *rc::gen::inRange(0, written->SizeX);
            const int ez = *rc::gen::inRange(0, written->SizeZ);
            enemy.Set(ex, ez, ex, ez);
        }
    }

    auto loaded = NewMap();
    RC_ASSERT(static_cast<bool>(Load(*loaded, FormatMap(*written))));
    RC_ASSERT(FormatMap(*loaded) == FormatMap(*written));
    for (int x = 0; x < written->SizeX; ++x) {
        for (int z = 0; z < written->SizeZ; ++z)
            RC_ASSERT(loaded->cells[x][z] == written->cells[x][z]);
    }
}

TEST(MapWriter, EmptySizesWriteNoCellOrTextureLinesAndMarkersTheirCorners) {
    auto grid = std::make_unique<MapGrid>(0, 50);
    grid->numtex = 0;
    grid->start.Set(1, 2, 3, 4);
    grid->enemies[2].Set(5, 6, 7, 8);
    EXPECT_EQ(FormatMap(*grid),
              "<ZanMap\n SizeX=\"0\" \n SizeZ=\"50\" \n numtex=\"0\" \n Enemys_Tex=\"2\" \n"
              " X_S=\"3\"\n Z_S=\"4\"\n"
              " Enemy_0_X=\"-1\" \n Enemy_0_Z=\"-1\" \n Enemy_1_X=\"-1\" \n Enemy_1_Z=\"-1\" \n"
              " Enemy_2_X=\"5\" \n Enemy_2_Z=\"6\" \n Enemy_3_X=\"-1\" \n Enemy_3_Z=\"-1\" \n"
              "/>\n");
}

// Absent values read as 0, what the file does not cover is kept, and a texture name that is a
// line feed alone reads as empty: cut at its NUL, "\n\0x" would be "\n", which a saved file
// cannot hold.
TEST(MapLoader, MissingValuesReadAsZeroAndWhatTheFileDoesNotCoverIsKept) {
    using namespace std::string_literals;
    auto grid = NewMap();
    grid->RaiseCell(10, 10, 4.0);
    grid->textures[3].Assign("kept.jpg");
    grid->cells[1][2].typet = 9;
    ASSERT_TRUE(Load(*grid,
                     "<m SizeX=\"2\" SizeZ=\"3\" numtex=\"3\" Tex_0=\"\n\0x\" "
                     "Tex_1=\"\n\" Tex_2=\"\na\"/>"s));
    EXPECT_EQ(grid->textures[0].View(), "");
    EXPECT_EQ(grid->textures[1].View(), "");
    EXPECT_EQ(grid->textures[2].View(), "\na");
    EXPECT_EQ(grid->cells[1][2], MapCell{});
    EXPECT_EQ(grid->cells[10][10].C, 4.0);
    EXPECT_EQ(grid->textures[3].View(), "kept.jpg");
    // No start or enemy attributes: everything stands on cell (0, 0), not unset.
    EXPECT_TRUE(grid->start.Contains(0, 0) && grid->start.x1 == 0);
    EXPECT_EQ(grid->enemies[3].x0, 0);

    ASSERT_TRUE(Load(*grid, "<m SizeX=\"-4\" SizeZ=\"0\" numtex=\"-1\"/>"));
    EXPECT_EQ(grid->SizeX, -4);
    EXPECT_EQ(grid->cells[10][10].C, 4.0);
}

// In a comma-decimal locale the reader takes values as atoi and atof do in the "C" locale, and a
// new map is written as the reference file byte for byte.
TEST(MapLoader, ValuesReadAndWriteAsInTheCLocaleInAnyLocale) {
    const std::string text =
        "<m SizeX=\"1\" SizeZ=\"1\" NO_0_0=\" -2.5x\" C_0_0=\"1e3\" SE_0_0=\"-3.75e0\""
        " grav_0_0=\"1e-7\" artr_0_0=\"0x1.8p1\" typet_0_0=\"3,9\" typew_0_0=\" 7\""
        " goal_0_0=\" 2.5\" X_S=\"-1\" Z_S=\"-1\"/>";
    const MapCell expected{0.0, -2.5, -3.75, 0.0, 1000.0, 3, 7, 2, 1e-7, 3.0};
    const testsupport::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    auto grid = NewMap();
    EXPECT_EQ(FormatMap(*grid),
              testsupport::ReadFile(std::filesystem::path(CORE_TEST_DATA) / "new_map.zdm"));
    ASSERT_TRUE(Load(*grid, text));
    EXPECT_EQ(grid->cells[0][0], expected);
    EXPECT_TRUE(grid->start.IsUnset());
}

TEST(MapLoader, MapsTooBigForTheGridAreRefusedUnchanged) {
    const std::string longName(120, 'n');
    const std::pair<std::string, std::string> cases[] = {
        {"<m SizeX=\"5\" SizeZ=\"51\"/>", "SizeZ 51 is above the limit of 50"},
        {"<m numtex=\"999999\"/>", "numtex 999999 is above the limit of 50"},
        {"<m numtex=\"2\" Tex_1=\"" + longName + "\"/>",
         "Tex_1 is 120 characters long, above the limit of 119"},
    };
    for (const auto& [text, reason] : cases) {
        auto grid = NewMap();
        grid->RaiseCell(1, 1, 2.0);
        const std::string before = FormatMap(*grid);
        EXPECT_EQ(Load(*grid, text).message(), reason);
        EXPECT_EQ(FormatMap(*grid), before);
    }
    // Names are only checked where they are used, and 119 characters fit.
    auto grid = NewMap();
    EXPECT_TRUE(Load(*grid, "<m numtex=\"1\" Tex_0=\"" + std::string(119, 'a') + "\" Tex_1=\"" +
                                longName + "\"/>"));
}

// A value is read only under the exact name its printf template makes: any other spelling
// loads as though it were not there.
TEST(MapLoader, OnlyExactTemplateSpellingsAreRead) {
    const auto loaded = [](const std::string& attribute) {
        auto grid = NewMap();
        EXPECT_TRUE(Load(*grid, "<m SizeX=\"3\" SizeZ=\"3\" " + attribute + "=\"5\"/>"));
        return FormatMap(*grid);
    };
    const std::string nothing = loaded("unused");
    EXPECT_NE(loaded("NO_1_2"), nothing);
    EXPECT_NE(loaded("typet_1_2"), nothing);
    for (const char* other : {"NO_01_2", "NO_1_02", "NO_+1_2", "NO_-0_0", "NO_0_0_", "NO_0_",
                              "NO__0_0", "no_0_0", "NOX_0_0", "typet_1_2x", "NO_1_2_3"}) {
        EXPECT_EQ(loaded(other), nothing) << other;
    }
}

// The index reads every per-cell value the writer writes, under the writer's names, and no other.
TEST(MapKeyIndex, CellFieldsAreTheOnesTheWriterWrites) {
    const MarkupElement root = Root(FormatMap(MapGrid(1, 1)));
    std::set<std::string> written;
    for (const auto& [name, value] : root.attributes) {
        if (name.ends_with("_0_0"))
            written.emplace(name.substr(0, name.size() - 4));
    }
    std::set<std::string> indexed;
    for (int field = 0; field < MapKeyIndex::kCellFieldCount; ++field)
        indexed.emplace(MapKeyIndex::NameOf(static_cast<MapKeyIndex::CellField>(field)));
    EXPECT_EQ(indexed, written);
    EXPECT_EQ(written.size(), static_cast<std::size_t>(MapKeyIndex::kCellFieldCount));
}

}  // namespace
}  // namespace zandrel::mapfile
