#include "tools/MapCheck.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "map/MapGrid.h"

namespace zandrel::tools {
namespace {

using map::MapGrid;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A 3 x 2 map fit for the game: default textures (slots 0..2), start at (0, 0), goal at (1, 1),
// no enemies.
std::unique_ptr<MapGrid> FitMap() {
    auto grid = std::make_unique<MapGrid>(3, 2);
    grid->start.Set(0, 0, 0, 0);
    grid->Cell(1, 1).goal = 1;
    return grid;
}

bool EveryTextureExists(std::string_view) {
    return true;
}

using enum MapCheckCode;

// Each change to a fit map breaks one rule, or none, and the finding names it on one line.
TEST(MapCheck, OneChangeGivesOneFinding) {
    const struct {
        const char* what;
        void (*change)(MapGrid&);
        std::optional<MapCheckCode> expected = std::nullopt;  // none: the map stays fit
        std::optional<CellIndex> cell = std::nullopt;
    } cases[] = {
        {"fit", [](MapGrid&) {}},
        {"start unset", [](MapGrid& g) { g.start = {}; }, StartMissing},
        {"start past x", [](MapGrid& g) { g.start.Set(3, 0, 3, 0); }, StartOutside},
        {"start half unset", [](MapGrid& g) { g.start.Set(-1, 1, -1, 1); }, StartOutside},
        {"enemy past z", [](MapGrid& g) { g.enemies[2].Set(0, 2, 0, 2); }, EnemyOutside},
        {"enemy at the loader's default", [](MapGrid& g) { g.enemies[3].Set(0, 0, 0, 0); }},
        {"no goal", [](MapGrid& g) { g.Cell(1, 1).goal = 0; }, NoGoal},
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
        EXPECT_EQ(findings[0].severity, RuleOf(*rule.expected).severity);
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
    EXPECT_EQ(missing[0].severity, FindingSeverity::Warning);
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
    auto grid = std::make_unique<MapGrid>(map::kMaxMapSize, map::kMaxMapSize);
    grid->start.Set(0, 0, 0, 0);
    grid->Cell(7, 7).goal = 1;
    for (std::int32_t x = 0; x < grid->SizeX; ++x) {
        for (std::int32_t z = 0; z < grid->SizeZ; ++z) {
            grid->Cell(x, z).typet = 9;
        }
    }
    grid->Cell(49, 49).grav = kNaN;
    const std::vector<MapFinding> findings = CheckMap(*grid, EveryTextureExists);
    ASSERT_EQ(findings.size(), kMaxCellFindingsPerRule + 2);
    EXPECT_EQ(findings[kMaxCellFindingsPerRule - 1].cell, (CellIndex{0, 19}));
    const MapFinding& rest = findings[kMaxCellFindingsPerRule];
    EXPECT_EQ(rest.cell, std::nullopt);
    EXPECT_EQ(rest.message, "2480 more cells with a tile texture slot outside the table");
    EXPECT_EQ(findings.back().cell, (CellIndex{49, 49}));
}

}  // namespace
}  // namespace zandrel::tools
