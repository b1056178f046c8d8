#include "tools/TextureFile.h"

#include <gtest/gtest.h>
#include <rapidcheck/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "map/MapGrid.h"
#include "support/ScratchFolder.h"
#include "support/TerrainFixture.h"
#include "tools/ImageHeader.h"
#include "tools/MapCheck.h"
#include "tools/PanelAttributes.h"
#include "tools/TextureArchive.h"

namespace zandrel::tools {
namespace {

namespace fs = std::filesystem;

// The map's folder holds "in.jpg", "sub/deep.jpg" and links of every kind; "out.jpg" lies
// beside it, outside.
class TextureFileTest : public testsupport::ScratchFolderTest {
protected:
    void SetUp() override {
        ScratchFolderTest::SetUp();
        work_ = folder_ / "work";
        fs::create_directories(work_ / "sub");
        testsupport::WriteFile(work_ / "in.jpg", "inside");
        testsupport::WriteFile(work_ / "sub" / "deep.jpg", "deeper");
        testsupport::WriteFile(folder_ / "out.jpg", "outside");
    }

    // Over bytes left from an earlier read, which a refusal must clear.
    Status Read(const std::string& name, std::size_t maxBytes = kMaxTextureFileBytes) {
        bytes_.assign(3, 'x');
        return ReadTextureFile(work_, name, bytes_, maxBytes);
    }

    fs::path work_;
    std::vector<unsigned char> bytes_;
};

// Regular files inside the folder, and links that stay inside, are read; everything else is
// refused as if missing, naming the texture, with nothing read.
TEST_F(TextureFileTest, ReadsFilesThatStayInsideAndRefusesEverythingElseAsIfMissing) {
    fs::create_symlink("sub/deep.jpg", work_ / "link.jpg");
    fs::create_directory_symlink("sub", work_ / "linkdir");
    testsupport::WriteFile(work_ / "empty.jpg", "");
    fs::create_symlink("../out.jpg", work_ / "escape.jpg");
    fs::create_symlink((folder_ / "out.jpg").string(), work_ / "absolute-link.jpg");
    fs::create_directory_symlink("..", work_ / "up");
    fs::create_symlink("/dev/zero", work_ / "device.jpg");
    fs::create_symlink("nowhere.jpg", work_ / "dangling.jpg");
    ASSERT_EQ(::mkfifo((work_ / "fifo.jpg").c_str(), 0600), 0);
    // A socket's inode, as a bound socket leaves it, made without a listener.
    ASSERT_EQ(::mknod((work_ / "socket.jpg").c_str(), S_IFSOCK | 0600, 0), 0);

    const std::pair<const char*, const char*> inside[] = {{"in.jpg", "inside"},
                                                          {"sub/deep.jpg", "deeper"},
                                                          {"./sub/../in.jpg", "inside"},
                                                          {"../work/in.jpg", "inside"},
                                                          {"link.jpg", "deeper"},
                                                          {"linkdir/deep.jpg", "deeper"},
                                                          {"empty.jpg", ""}};
    for (const auto& [name, text] : inside) {
        const Status status = Read(name);
        EXPECT_TRUE(status.ok()) << name << ": " << status.message();
        EXPECT_EQ(std::string(bytes_.begin(), bytes_.end()), text) << name;
    }
    const std::string absolute = (work_ / "in.jpg").string();
    for (const std::string name :
         {"", "missing.jpg", "../out.jpg", "sub/../../out.jpg", "escape.jpg", "absolute-link.jpg",
          "up/out.jpg", "device.jpg", "dangling.jpg", "fifo.jpg", "socket.jpg", "sub", ".",
          "/etc/passwd", "/proc/self/environ", "/dev/zero", absolute.c_str()}) {
        const Status status = Read(name);
        EXPECT_FALSE(status.ok()) << '"' << name << '"';
        EXPECT_NE(status.message().find("texture " + name), std::string::npos) << status.message();
        EXPECT_TRUE(bytes_.empty()) << name;
    }
}

using Names = std::vector<std::string>;

// A folder lists its regular files only; the map check's lookup asks each of its folders (one
// alone is zdmtool check's, tests/cli/check_report_test.cpp).
TEST_F(TextureFileTest, ListsRegularFilesLooksInEachFolderAndBoundsTheSize) {
    Names names;
    ASSERT_TRUE(ListDirectoryFiles(folder_, names).ok());
    EXPECT_EQ(names, (Names{"out.jpg"}));
    EXPECT_NE(ListDirectoryFiles(folder_ / "gone", names).message().find("cannot list"),
              std::string::npos);
    EXPECT_TRUE(TextureFilesIn({work_, folder_})("out.jpg"));
    // A file over the limit and a missing folder are refused.
    testsupport::WriteFile(work_ / "sixteen.jpg", std::string(16, 'a'));
    EXPECT_TRUE(Read("sixteen.jpg", 16).ok());
    EXPECT_EQ(bytes_.size(), 16u);
    EXPECT_FALSE(Read("sixteen.jpg", 15).ok());
    EXPECT_TRUE(bytes_.empty());
    EXPECT_FALSE(ReadTextureFile(folder_ / "gone", "in.jpg", bytes_).ok());
}

// The fixed names come first, then the visible .jpg names sorted ignoring case; a refresh
// writes the list, cut at fifty entries, and the cells keep their slot numbers.
TEST(TextureArchive, ListHasTheFixedNamesFirstThenVisibleJpgNamesAndRefreshCutsItAtFifty) {
    const std::string longest(map::TextureName::kMaxLength - 4, 'n');
    const std::string tooLong(map::TextureName::kMaxLength - 3, 'n');
    // The files, and the names after tile.jpg, wall.jpg, enemy.jpg.
    const std::pair<Names, Names> cases[] = {
        {{"c.png", ".hidden.jpg", "d.jpeg", "e.jpg", "notes.txt", "f.JPG"}, {"e.jpg"}},
        {{"c.jpg", "B.jpg", "a.jpg", "b.jpg"}, {"a.jpg", "B.jpg", "b.jpg", "c.jpg"}},
        {{"ENEMY.jpg", "rock.jpg", "Wall.jpg"}, {"rock.jpg"}},
        // The search for a fixed name starts at the second entry and wraps, so of two names
        // starting with "tile.jpg" the longer one is taken for it.
        {{"tile.jpg", "tile.jpg.jpg"}, {"tile.jpg"}},
        {{"a.jpg", "tile.jpg", "tile.jpg.jpg"}, {"a.jpg", "tile.jpg.jpg"}},
        // Names the map cannot hold are left out.
        {{longest + ".jpg", tooLong + ".jpg", "say\"hi\".jpg"}, {longest + ".jpg"}},
    };
    for (const auto& [files, extra] : cases) {
        Names expected = {"tile.jpg", "wall.jpg", "enemy.jpg"};
        expected.insert(expected.end(), extra.begin(), extra.end());
        EXPECT_EQ(BuildTextureList(files), expected) << files.front();
    }

    auto grid = test::NewMap();
    grid->Cell(1, 1).typet = 4;
    grid->Enemys_Tex = 3;
    Names files;
    for (int i = 60; i > 0; --i) {
        files.push_back("img" + std::to_string(100 + i) + ".jpg");
    }
    const Names cut = RefreshTextureArchive(*grid, files);
    ASSERT_EQ(cut.size(), 50u);
    EXPECT_EQ(std::tie(cut[2], cut[3], cut[49]), std::tie("enemy.jpg", "img101.jpg", "img147.jpg"));
    EXPECT_EQ(TextureTableList(*grid), cut);
    EXPECT_EQ(std::pair(grid->Cell(1, 1).typet, grid->Enemys_Tex), std::pair(4, 3));
}

using Bytes = std::vector<unsigned char>;
using enum ImageFormat;

// value in count bytes, most significant first unless little.
void Put(Bytes& out, std::uint32_t value, int count, bool little = false) {
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<unsigned char>(value >> (8 * (little ? i : count - 1 - i))));
    }
}

// A marker segment: FF, the marker, a length that counts itself, the payload.
Bytes Segment(unsigned char marker, const Bytes& payload) {
    Bytes out = {0xFF, marker};
    Put(out, static_cast<std::uint32_t>(payload.size() + 2), 2);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

// A three-component baseline frame header of the given size.
Bytes Frame(unsigned char marker, std::uint32_t width, std::uint32_t height) {
    Bytes payload = {8};
    Put(payload, height, 2);
    Put(payload, width, 2);
    payload.insert(payload.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
    return Segment(marker, payload);
}

const Bytes kApp0 = Segment(0xE0, {'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});

// The headers, then some scan data as a real file would carry.
Bytes JpegFile(std::initializer_list<Bytes> parts) {
    Bytes out = {0xFF, 0xD8};
    for (const Bytes& part : parts) {
        out.insert(out.end(), part.begin(), part.end());
    }
    const Bytes scan = Segment(0xDA, {1, 1, 0, 0, 63, 0});
    out.insert(out.end(), scan.begin(), scan.end());
    out.insert(out.end(), 2000, 0x55);
    out.insert(out.end(), {0xFF, 0xD9});
    return out;
}

Bytes PngFile(std::uint32_t width, std::uint32_t height, const char* chunk = "IHDR") {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};
    out.insert(out.end(), chunk, chunk + 4);
    Put(out, width, 4);
    Put(out, height, 4);
    out.insert(out.end(), {8, 2, 0, 0, 0, 0, 0, 0, 0});
    return out;
}

// The core header of 12 bytes holds 16-bit sides, the others 32-bit ones.
Bytes BmpFile(std::uint32_t infoSize, std::uint32_t width, std::uint32_t height) {
    Bytes out = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    Put(out, infoSize, 4, true);
    Put(out, width, infoSize == 12 ? 2 : 4, true);
    Put(out, height, infoSize == 12 ? 2 : 4, true);
    out.resize(out.size() + 64, 0);
    return out;
}

// Any size in each format reads back, and the file cut anywhere before its size ends reads as
// nothing.
RC_GTEST_PROP(ReadImageHeader, ReadsAnySizeAndNothingOfAHeaderCutShort, ()) {
    const auto width = *rc::gen::inRange<std::uint32_t>(1, 65536);
    const auto height = *rc::gen::inRange<std::uint32_t>(1, 65536);
    // The format, the file, and where its size ends.
    const std::tuple<ImageFormat, Bytes, std::size_t> files[] = {
        {Jpeg, JpegFile({kApp0, Frame(0xC0, width, height)}), 2 + kApp0.size() + 19},
        {Png, PngFile(width, height), 24},
        {Bmp, BmpFile(40, width, height), 26},
        {Bmp, BmpFile(12, width, height), 22}};
    for (const auto& [format, bytes, sizeEnd] : files) {
        const std::optional<ImageHeader> header = ReadImageHeader(bytes);
        RC_ASSERT(header.has_value());
        RC_ASSERT(std::tie(header->format, header->width, header->height) ==
                  std::tie(format, width, height));
        const auto cut = *rc::gen::inRange<std::size_t>(0, sizeEnd);
        RC_ASSERT(!ReadImageHeader(std::span(bytes).first(cut)));
    }
}

TEST(ReadImageHeader, GivesFormatAndSizeOrNothing) {
    const std::tuple<const char*, Bytes, ImageHeader> read[] = {
        {"progressive frame", JpegFile({kApp0, Frame(0xC2, 64, 32)}), {Jpeg, 64, 32}},
        {"Huffman table is no frame",
         JpegFile({Segment(0xC4, Bytes(20, 1)), Frame(0xC1, 7, 9)}),
         {Jpeg, 7, 9}},
        {"fill bytes and a standalone marker",
         JpegFile({kApp0, Bytes{0xFF, 0xFF, 0xFF, 0x01}, Frame(0xC0, 5, 6)}),
         {Jpeg, 5, 6}},
        {"first frame header wins",
         JpegFile({Frame(0xC0, 10, 20), Frame(0xC0, 60000, 60000)}),
         {Jpeg, 10, 20}},
        {"png of 2^31 pixels a side", PngFile(0x80000000u, 1), {Png, 0x80000000u, 1}},
        {"bmp stored top-down", BmpFile(124, 3, static_cast<std::uint32_t>(-5)), {Bmp, 3, 5}}};
    for (const auto& [what, bytes, expected] : read) {
        const std::optional<ImageHeader> header = ReadImageHeader(bytes);
        ASSERT_TRUE(header.has_value()) << what;
        EXPECT_EQ(std::tie(header->format, header->width, header->height),
                  std::tie(expected.format, expected.width, expected.height))
            << what;
    }
    // Files that are not loadable.
    const std::pair<const char*, Bytes> refused[] = {
        {"scan before any frame", JpegFile({kApp0})},
        {"end of image before any frame", JpegFile({Bytes{0xFF, 0xD9}, Frame(0xC0, 1, 1)})},
        {"height left to a DNL marker", JpegFile({Frame(0xC0, 64, 0)})},
        {"frame header too short", JpegFile({Segment(0xC0, {8, 0, 1, 0, 1})})},
        {"segment length below two", JpegFile({Bytes{0xFF, 0xE0, 0, 1}, Frame(0xC0, 1, 1)})},
        {"garbage between segments", JpegFile({kApp0, Bytes{0x00}, Frame(0xC0, 1, 1)})},
        {"png starting with another chunk", PngFile(3, 2, "IDAT")},
        {"png of zero width", PngFile(0, 3)},
        {"bmp of negative width", BmpFile(40, static_cast<std::uint32_t>(-3), 5)},
        {"bmp of the lowest height", BmpFile(40, 3, 0x80000000u)},
        {"bmp of unknown header size", BmpFile(20, 3, 5)},
        {"gif is not read", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0}},
        {"empty file", Bytes{}}};
    for (const auto& [what, bytes] : refused) {
        EXPECT_FALSE(ReadImageHeader(bytes).has_value()) << what;
    }
}

// Sides are bound by the context's texture size and pixels by the budget of 16 Mi.
TEST(TextureLimits, BoundSidesByTheContextAndPixelsByTheBudget) {
    // Width, height, the context's largest texture side, and whether the image fits.
    const std::tuple<std::uint32_t, std::uint32_t, std::uint32_t, bool> cases[] = {
        {8192, 2048, 16384, true}, {4096, 4097, 16384, false},
        {16384, 1, 16384, true},   {1, 16385, 16384, false},
        {2048, 8, 1024, false},    {0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, false}};
    for (const auto& [width, height, maxTextureSize, fits] : cases) {
        EXPECT_EQ(FitsTextureLimits({Jpeg, width, height}, maxTextureSize), fits)
            << width << 'x' << height << " under " << maxTextureSize;
    }
}

using map::MapGrid;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A map fit for the game: default textures (slots 0..2), start at (0, 0), goal at (1, 1), no
// enemies.
std::unique_ptr<MapGrid> FitMap(std::int32_t sizeX = 3, std::int32_t sizeZ = 2) {
    auto grid = std::make_unique<MapGrid>(sizeX, sizeZ);
    grid->start.Set(0, 0, 0, 0);
    grid->Cell(1, 1).goal = 1;
    return grid;
}

constexpr auto EveryTextureExists = [](std::string_view) { return true; };

using enum MapCheckCode;

// Each change to a fit map breaks one rule, or none, and the finding names it on one line. (A
// new map's missing start and goal are zdmtool check's, tests/cli/check_report_test.cpp.)
TEST(MapCheck, OneChangeGivesOneFinding) {
    const struct {
        const char* what;
        void (*change)(MapGrid&);
        std::optional<MapCheckCode> expected = std::nullopt;  // none: the map stays fit
        std::optional<CellIndex> cell = std::nullopt;
    } cases[] = {
        {"start past x", [](MapGrid& g) { g.start.Set(3, 0, 3, 0); }, StartOutside},
        {"start half unset", [](MapGrid& g) { g.start.Set(-1, 1, -1, 1); }, StartOutside},
        {"enemy past z", [](MapGrid& g) { g.enemies[2].Set(0, 2, 0, 2); }, EnemyOutside},
        {"enemy at the loader's default", [](MapGrid& g) { g.enemies[3].Set(0, 0, 0, 0); }},
        {"goal of 2 from a file", [](MapGrid& g) { g.Cell(1, 1).goal = 2; }},
        {"tile slot numtex", [](MapGrid& g) { g.Cell(2, 1).typet = 3; }, TileTextureRange,
         CellIndex{2, 1}},
        {"tile slot -1", [](MapGrid& g) { g.Cell(0, 1).typet = -1; }, TileTextureRange,
         CellIndex{0, 1}},
        {"wall slot 49", [](MapGrid& g) { g.Cell(1, 0).typew = 49; }, WallTextureRange,
         CellIndex{1, 0}},
        {"enemy texture past the table", [](MapGrid& g) { g.Enemys_Tex = 3; }, EnemyTextureRange},
        {"enemy texture -1", [](MapGrid& g) { g.Enemys_Tex = -1; }, EnemyTextureRange},
        {"NaN centre", [](MapGrid& g) { g.Cell(1, 0).C = kNaN; }, HeightNotFinite, CellIndex{1, 0}},
        {"two infinite corners", [](MapGrid& g) { g.Cell(2, 0).SO = g.Cell(2, 0).NE = -kInf; },
         HeightNotFinite, CellIndex{2, 0}},
        {"infinite gravity", [](MapGrid& g) { g.Cell(0, 0).grav = kInf; }, GravityNotFinite,
         CellIndex{0, 0}},
        {"NaN friction", [](MapGrid& g) { g.Cell(2, 1).artr = kNaN; }, FrictionNotFinite,
         CellIndex{2, 1}},
        {"no cells along x", [](MapGrid& g) { g.SizeX = 0; }, SizeEmpty},
        {"negative size along z", [](MapGrid& g) { g.SizeZ = -4; }, SizeEmpty}};
    for (const auto& rule : cases) {
        SCOPED_TRACE(rule.what);
        const auto grid = FitMap();
        rule.change(*grid);
        const std::vector<MapFinding> findings = CheckMap(*grid, EveryTextureExists);
        if (!rule.expected) {
            EXPECT_TRUE(findings.empty()) << findings.front().message;
            continue;
        }
        ASSERT_EQ(findings.size(), 1u) << findings.front().message;
        EXPECT_EQ(findings[0].code, *rule.expected);
        EXPECT_EQ(findings[0].cell, rule.cell);
        EXPECT_EQ(findings[0].message.find('\n'), std::string::npos);
    }
}

// A negative count puts every slot outside the table; a missing file is a warning, its name
// escaped onto the finding's one line.
TEST(MapCheck, TextureCountAndMissingFiles) {
    auto grid = FitMap();
    ASSERT_TRUE(grid->textures[1].Assign("odd\nname.jpg"));
    const std::vector<MapFinding> missing =
        CheckMap(*grid, [](std::string_view name) { return name != "odd\nname.jpg"; });
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0].message,
              "texture slot 1 names \"odd\\x0Aname.jpg\", which cannot be found");
    grid->numtex = -1;
    std::vector<MapCheckCode> codes;
    for (const MapFinding& each : CheckMap(*grid, EveryTextureExists)) {
        if (codes.empty() || codes.back() != each.code) {
            codes.push_back(each.code);
        }
    }
    EXPECT_EQ(codes, (std::vector{TextureCountNegative, EnemyTextureRange, TileTextureRange,
                                  WallTextureRange}));
}

TEST(MapCheck, CellFindingsOfOneRuleStopAtTheCapAndCountTheRest) {
    auto grid = FitMap(map::kMaxMapSize, map::kMaxMapSize);
    grid->selection.Set(0, 0, map::kMaxMapSize - 1, map::kMaxMapSize - 1);
    ApplyTileTexture(*grid, 9);
    grid->Cell(49, 49).grav = kNaN;
    const std::vector<MapFinding> findings = CheckMap(*grid, EveryTextureExists);
    ASSERT_EQ(findings.size(), kMaxCellFindingsPerRule + 2);
    EXPECT_EQ(findings[kMaxCellFindingsPerRule - 1].cell, (CellIndex{0, 19}));
    const MapFinding& rest = findings[kMaxCellFindingsPerRule];
    EXPECT_EQ(rest.message, "2480 more cells with a tile texture slot outside the table");
    EXPECT_EQ(findings.back().cell, (CellIndex{49, 49}));
}

}  // namespace
}  // namespace zandrel::tools
