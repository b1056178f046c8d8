// Write, parse and load of a full 50x50 map, the sizes a level designer saves and opens, and
// parses of hostile files of the same order of size: 1 MB runs of one byte in each scanner state,
// which must be refused in about the time of the map.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>

#include "FullMap.h"
#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapParser.h"
#include "mapfile/MapWriter.h"

#ifdef ZANDREL_HAVE_PUGIXML
#include "PugixmlMapReader.h"
#endif

namespace {

using zandrel::bench::FullMap;
using zandrel::map::MapGrid;
namespace mapfile = zandrel::mapfile;

constexpr mapfile::ParseOptions kQuiet{nullptr, nullptr};

void BM_FormatMap(benchmark::State& state) {
    const auto grid = FullMap();
    for (auto _ : state)
        benchmark::DoNotOptimize(mapfile::FormatMap(*grid));
}
BENCHMARK(BM_FormatMap)->Unit(benchmark::kMillisecond);

void BM_SaveMapFile(benchmark::State& state) {
    const auto grid = FullMap();
    const auto path = std::filesystem::temp_directory_path() / "zdm_bench_save.zdm";
    for (auto _ : state) {
        if (!mapfile::SaveMapFile(*grid, path))
            state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_SaveMapFile)->Unit(benchmark::kMillisecond);

void BM_ParseMap(benchmark::State& state) {
    const std::string text = mapfile::FormatMap(*FullMap());
    for (auto _ : state)
        benchmark::DoNotOptimize(mapfile::ParseMapText(text, kQuiet));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseMap)->Unit(benchmark::kMillisecond);

// Arguments: the byte of the run, and the scanner state the run starts in.
void BM_ParseRunOfOneByte(benchmark::State& state) {
    static const char* const kOpenings[] = {"", "<m a=\"", "<!--", "<m><![CDATA["};
    const auto byte = static_cast<char>(state.range(0));
    const std::string text = kOpenings[state.range(1)] + std::string(1 << 20, byte);
    for (auto _ : state) {
        if (mapfile::ParseMapText(text, kQuiet).ok())
            state.SkipWithError("a run of one byte parsed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseRunOfOneByte)
    ->ArgNames({"byte", "state"})
    ->ArgsProduct({{0, '<', '"', 'a', '-', ']', '\n', 0xFF}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

void BM_LoadFromTable(benchmark::State& state) {
    auto parsed = mapfile::ParseMapText(mapfile::FormatMap(*FullMap()), kQuiet);
    auto grid = std::make_unique<MapGrid>();
    for (auto _ : state) {
        if (!mapfile::LoadFromTable(*grid, *parsed.root))
            state.SkipWithError("load failed");
    }
}
BENCHMARK(BM_LoadFromTable)->Unit(benchmark::kMillisecond);

void BM_OpenMapFile(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "zdm_bench_open.zdm";
    if (!mapfile::SaveMapFile(*FullMap(), path))
        state.SkipWithError("save failed");
    auto grid = std::make_unique<MapGrid>();
    for (auto _ : state) {
        if (!mapfile::LoadMapFile(*grid, path, kQuiet))
            state.SkipWithError("open failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenMapFile)->Unit(benchmark::kMillisecond);

#ifdef ZANDREL_HAVE_PUGIXML
// The same file opened by the map loader and by a small pugixml + strtod reader, alternately in
// one loop, so both see the same machine state. The time shown is the loader's; the counters give
// both and their ratio (loader / pugixml).
void BM_OpenMapFileBesidePugixml(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const auto path = std::filesystem::temp_directory_path() / "zdm_bench_peer.zdm";
    if (!mapfile::SaveMapFile(*FullMap(), path))
        state.SkipWithError("save failed");
    auto ours = std::make_unique<MapGrid>();
    auto peer = std::make_unique<MapGrid>();
    Clock::duration oursTotal{};
    Clock::duration peerTotal{};
    for (auto _ : state) {
        const auto begin = Clock::now();
        if (!mapfile::LoadMapFile(*ours, path, kQuiet))
            state.SkipWithError("open failed");
        const auto middle = Clock::now();
        if (!zandrel::bench::ReadMapWithPugixml(path, *peer))
            state.SkipWithError("pugixml read failed");
        const auto end = Clock::now();
        oursTotal += middle - begin;
        peerTotal += end - middle;
        state.SetIterationTime(std::chrono::duration<double>(middle - begin).count());
    }
    const double iterations = static_cast<double>(state.iterations());
    const double oursMs = std::chrono::duration<double, std::milli>(oursTotal).count() / iterations;
    const double peerMs = std::chrono::duration<double, std::milli>(peerTotal).count() / iterations;
    state.counters["zdm_ms"] = oursMs;
    state.counters["pugixml_ms"] = peerMs;
    state.counters["ratio"] = oursMs / peerMs;
    std::filesystem::remove(path);
}
BENCHMARK(BM_OpenMapFileBesidePugixml)->UseManualTime()->Unit(benchmark::kMillisecond);
#endif

}  // namespace
