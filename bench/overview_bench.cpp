// The overview's picture on a full 50x50 map: the update after a change of one cell (two rows
// drawn) and after one that moves the height range (every row drawn), and nothing changed.
// Needs no display: it draws into an image only.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "FullMap.h"
#include "app/OverviewImage.h"

namespace {

using namespace zandrel;

void Run(benchmark::State& state, double low, double high) {
    const auto grid = bench::FullMap();
    app::OverviewImage picture;
    picture.Update(*grid);
    bool flip = false;
    int rows = 0;
    for (auto _ : state) {
        flip = !flip;
        grid->SetCellHeight(20, 30, flip ? low : high);
        rows = picture.Update(*grid);
    }
    state.counters["rows_drawn"] = rows;
}

// Heights inside the map's range (0 to 16.6): the cell's row and the one before it.
void BM_OverviewOneCellChange(benchmark::State& state) {
    Run(state, 3.0, 4.0);
}
BENCHMARK(BM_OverviewOneCellChange)->Unit(benchmark::kMicrosecond)->UseRealTime();

// A new highest height recolours every row.
void BM_OverviewNewHeightRange(benchmark::State& state) {
    Run(state, 30.0, 40.0);
}
BENCHMARK(BM_OverviewNewHeightRange)->Unit(benchmark::kMicrosecond)->UseRealTime();

void BM_OverviewNoChange(benchmark::State& state) {
    Run(state, 3.0, 3.0);
}
BENCHMARK(BM_OverviewNoChange)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    // Only an image is drawn: no window, so no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
