#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapParser.h"
#include "mapfile/MapWriter.h"
#include "support/CommaDecimalLocale.h"

using zandrel::Status;
using zandrel::map::MapCell;
using zandrel::map::MapGrid;
using zandrel::mapfile::FormatMap;
using zandrel::mapfile::LoadFromTable;
using zandrel::mapfile::MarkupElement;
using zandrel::mapfile::ParseMapText;
using zandrel::mapfile::ParseOptions;

namespace {

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

}  // namespace

TEST(MapLoader, WrittenMapLoadsBackEqual) {
    auto written = std::make_unique<MapGrid>(7, 5);
    written->numtex = 5;
    written->textures[3].Assign("rock.jpg");
    written->textures[4].Assign("a b&<c>.jpg");
    written->Enemys_Tex = 4;
    written->cells[6][4] = MapCell{1.25, -3.5, 1e3, 0.0, -0.000001, 4, 3, 1, -12.5, 19.0};
    written->cells[0][1].C = 1.2345678;
    written->start.Set(2, 3, 2, 3);
    written->enemies[1].Set(6, 4, 6, 4);
    written->enemies[3].Set(0, 0, 0, 0);

    auto loaded = NewMap();
    ASSERT_TRUE(Load(*loaded, FormatMap(*written)));
    EXPECT_EQ(loaded->SizeX, 7);
    EXPECT_EQ(loaded->SizeZ, 5);
    EXPECT_EQ(loaded->numtex, 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(loaded->textures[i], written->textures[i]);
    EXPECT_EQ(loaded->Enemys_Tex, 4);
    EXPECT_EQ(loaded->cells[6][4], written->cells[6][4]);
    EXPECT_EQ(loaded->cells[0][1].C, 1.234568);  // six decimals are what the file keeps
    EXPECT_EQ(loaded->start, written->start);
    EXPECT_EQ(loaded->enemies, written->enemies);
    EXPECT_EQ(FormatMap(*loaded), FormatMap(*written));
}

TEST(MapLoader, MissingAttributesReadAsZero) {
    auto grid = NewMap();
    ASSERT_TRUE(Load(*grid, "<m SizeX=\"2\" SizeZ=\"3\" numtex=\"1\" Tex_0=\"a.jpg\"/>"));
    EXPECT_EQ(grid->textures[0].View(), "a.jpg");
    EXPECT_EQ(grid->Enemys_Tex, 0);
    for (int x = 0; x < 2; ++x) {
        for (int z = 0; z < 3; ++z)
            EXPECT_EQ(grid->cells[x][z], MapCell{});
    }
    // No start or enemy attributes: everything stands on cell (0, 0), not unset.
    EXPECT_TRUE(grid->start.Contains(0, 0) && grid->start.x1 == 0);
    for (const auto& enemy : grid->enemies)
        EXPECT_EQ(enemy.x0, 0);
}

TEST(MapLoader, ValuesConvertAsAtoiAndAtofInAnyLocale) {
    const std::string text =
        "<m SizeX=\"1\" SizeZ=\"1\" NO_0_0=\" -2.5x\" C_0_0=\"1e3\" SE_0_0=\"-3.75e0\""
        " grav_0_0=\"1e-7\" artr_0_0=\"0x1.8p1\" typet_0_0=\"3,9\" typew_0_0=\" 7\""
        " goal_0_0=\" 2.5\" X_S=\"-1\" Z_S=\"-1\"/>";
    auto inC = NewMap();
    ASSERT_TRUE(Load(*inC, text));
    EXPECT_EQ(inC->cells[0][0], (MapCell{0.0, -2.5, -3.75, 0.0, 1000.0, 3, 7, 2, 1e-7, 3.0}));
    EXPECT_TRUE(inC->start.IsUnset());

    const zandrel::testsupport::CommaDecimalLocale comma;
    ASSERT_TRUE(comma.active());
    auto inComma = NewMap();
    ASSERT_TRUE(Load(*inComma, text));
    EXPECT_EQ(inComma->cells[0][0], inC->cells[0][0]);
    EXPECT_EQ(FormatMap(*inComma), FormatMap(*inC));
}

TEST(MapLoader, ATextureNameThatIsALineFeedAloneReadsAsEmpty) {
    // Cut at its NUL, "\n\0x" would be the name "\n", which a saved file cannot hold: a value
    // of one line feed reads back as empty. Loading gives what the saved file gives back.
    using namespace std::string_literals;
    const std::string text = "<m numtex=\"3\" Tex_0=\"\n\0x\" Tex_1=\"\n\" Tex_2=\"\na\"/>"s;
    auto first = NewMap();
    ASSERT_TRUE(Load(*first, text));
    EXPECT_EQ(first->textures[0].View(), "");
    EXPECT_EQ(first->textures[1].View(), "");
    EXPECT_EQ(first->textures[2].View(), "\na");

    auto again = NewMap();
    ASSERT_TRUE(Load(*again, FormatMap(*first)));
    EXPECT_EQ(FormatMap(*again), FormatMap(*first));
}

TEST(MapLoader, KeepsWhatTheFileDoesNotCover) {
    auto grid = NewMap();
    grid->SetSelection(1, 1, 2, 2);
    grid->RaiseCell(10, 10, 4.0);
    grid->textures[3].Assign("kept.jpg");
    ASSERT_TRUE(Load(*grid, "<m SizeX=\"5\" SizeZ=\"5\" numtex=\"1\" Tex_0=\"x.jpg\"/>"));
    EXPECT_EQ(grid->cells[10][10].C, 4.0);
    EXPECT_EQ(grid->cells[10][10].grav, -160.0);
    EXPECT_EQ(grid->textures[1].View(), "wall.jpg");
    EXPECT_EQ(grid->textures[3].View(), "kept.jpg");
    EXPECT_TRUE(grid->selection.Contains(2, 2));
    EXPECT_TRUE(grid->hasContent);
}

TEST(MapLoader, ZeroOrNegativeSizesLoadNothing) {
    auto grid = NewMap();
    ASSERT_TRUE(Load(*grid, "<m SizeX=\"-4\" SizeZ=\"0\" numtex=\"-1\"/>"));
    EXPECT_EQ(grid->SizeX, -4);
    EXPECT_EQ(grid->numtex, -1);
    EXPECT_EQ(grid->cells[0][0].grav, -160.0);
    EXPECT_EQ(grid->textures[0].View(), "tile.jpg");
}

TEST(MapLoader, MapsTooBigForTheGridAreRefusedUnchanged) {
    struct Case {
        std::string text;
        std::string reason;
    };
    const std::string longName(120, 'n');
    const Case cases[] = {
        {"<m SizeX=\"60\" SizeZ=\"5\"/>", "SizeX 60 is above the limit of 50"},
        {"<m SizeX=\"5\" SizeZ=\"51\"/>", "SizeZ 51 is above the limit of 50"},
        {"<m numtex=\"999999\"/>", "numtex 999999 is above the limit of 50"},
        {"<m numtex=\"2\" Tex_1=\"" + longName + "\"/>",
         "Tex_1 is 120 characters long, above the limit of 119"},
    };
    for (const Case& c : cases) {
        auto grid = NewMap();
        grid->RaiseCell(1, 1, 2.0);
        const std::string before = FormatMap(*grid);
        const Status status = Load(*grid, c.text);
        EXPECT_FALSE(status);
        EXPECT_EQ(status.message(), c.reason);
        EXPECT_EQ(FormatMap(*grid), before);
    }

    // Names are only checked where they are used, and 119 characters fit.
    auto grid = NewMap();
    EXPECT_TRUE(Load(*grid, "<m numtex=\"1\" Tex_0=\"" + std::string(119, 'a') + "\" Tex_1=\"" +
                                longName + "\"/>"));
    EXPECT_EQ(grid->textures[0].View().size(), 119u);
}

// The loader reads a value only under the exact name its printf template makes, whatever order
// or spelling the file uses for other names.
TEST(MapLoader, OnlyExactTemplateSpellingsAreRead) {
    struct Case {
        const char* attribute;
        double no00;
        double no12;
        std::int32_t typet12;
    };
    const Case cases[] = {
        {"NO_1_2=\"5\"", 0.0, 5.0, 0},
        {"NO_01_2=\"5\"", 0.0, 0.0, 0},
        {"NO_1_02=\"5\"", 0.0, 0.0, 0},
        {"NO_+1_2=\"5\"", 0.0, 0.0, 0},
        {"NO_-0_0=\"5\"", 0.0, 0.0, 0},
        {"NO_00_0=\"5\"", 0.0, 0.0, 0},
        {"NO_0_0_=\"5\"", 0.0, 0.0, 0},
        {"NO_0_=\"5\"", 0.0, 0.0, 0},
        {"NO__0_0=\"5\"", 0.0, 0.0, 0},
        {"no_0_0=\"5\"", 0.0, 0.0, 0},
        {"NOX_0_0=\"5\"", 0.0, 0.0, 0},
        {"NO_0_0=\"5\" NO_0_0=\"6\"", 6.0, 0.0, 0},
        {"typet_1_2=\"7\" NO_1_2=\"1\"", 0.0, 1.0, 7},
        {"typet_1_2x=\"7\"", 0.0, 0.0, 0},
    };
    for (const Case& c : cases) {
        auto grid = NewMap();
        ASSERT_TRUE(Load(*grid, std::string("<m SizeX=\"3\" SizeZ=\"3\" ") + c.attribute + "/>"));
        EXPECT_EQ(grid->cells[0][0].NO, c.no00) << c.attribute;
        EXPECT_EQ(grid->cells[1][2].NO, c.no12) << c.attribute;
        EXPECT_EQ(grid->cells[1][2].typet, c.typet12) << c.attribute;
    }
}

// Lookups insert the names they read, even when the map is then refused.
TEST(MapLoader, LookupsInsertTheNamesTheyRead) {
    MarkupElement root = Root("<m SizeX=\"1\" SizeZ=\"1\"/>");
    auto grid = NewMap();
    ASSERT_TRUE(LoadFromTable(*grid, root));
    ASSERT_NE(root.attributes.Find("Enemy_3_Z"), nullptr);
    EXPECT_EQ(*root.attributes.Find("artr_0_0"), "");
    EXPECT_EQ(root.attributes.Find("artr_0_1"), nullptr);

    MarkupElement refused = Root("<m SizeX=\"51\" NO_0_0=\"1\"/>");
    EXPECT_FALSE(LoadFromTable(*grid, refused));
    EXPECT_NE(refused.attributes.Find("numtex"), nullptr);
    EXPECT_EQ(refused.attributes.Find("Enemys_Tex"), nullptr);
    EXPECT_EQ(refused.attributes.size(), 4u);
}
