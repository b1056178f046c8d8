// The edit history on a full 50x50 map: the time to record an edit, the memory an entry keeps
// for everyday edits (strokes, tiles, goals and attributes on blocks of up to 8 x 8) and for the
// worst case (every height of a varied map changed), and the time to return to the oldest of a
// thousand entries.
#include <benchmark/benchmark.h>

#include <memory>

#include "FullMap.h"
#include "tools/DocumentState.h"
#include "tools/EditHistory.h"
#include "tools/EditSession.h"
#include "tools/PanelAttributes.h"
#include "tools/Placement.h"
#include "tools/ToolMode.h"

namespace {

using namespace zandrel;

// One map window's edits, each recorded as the document records it.
struct EditRun {
    std::unique_ptr<tools::DocumentState> doc = std::make_unique<tools::DocumentState>();
    std::unique_ptr<map::MapGrid> before = std::make_unique<map::MapGrid>();
    tools::EditSession session;
    tools::EditHistory history;
    std::size_t records = 0;

    EditRun() { doc->mapGrid = *bench::FullMap(); }

    template <typename Edit>
    void Record(Edit edit) {
        *before = doc->mapGrid;
        const tools::EditOutcome outcome = edit();
        session.StoreSelection(doc->mapGrid);
        history.Record(*before, doc->mapGrid, {outcome.name, 1, outcome.undoStep},
                       tools::EditHistory::Clock::now());
        ++records;
    }

    // A block, a stroke of three wheel notches on it, then a goal or a tile, then attributes.
    void EverydayStep(int k) {
        const int x = (k * 37) % 43;
        const int z = (k * 11) % 43;
        session.SelectCells(x, z, x + k % 8, z + (k / 8) % 8);
        session.StoreSelection(doc->mapGrid);
        constexpr std::int32_t kTools[] = {tools::TOOL_RAISE, tools::TOOL_LEVEL,
                                           tools::TOOL_LANDSLIDE, tools::TOOL_FLATTEN};
        session.toolState().toolMode = kTools[k % 4];
        for (int notch = 0; notch < 3; ++notch) {
            Record([&] { return session.Wheel(120, *doc); });
        }
        Record([&] {
            if (k % 2 != 0) {
                return session.ToggleGoal(*doc);
            }
            tools::ApplyTileTexture(doc->mapGrid, k % 3);
            return tools::EditOutcome{.redraw = true, .notifyViews = true, .name = "Tile"};
        });
        Record([&] {
            tools::ApplyAttributes(doc->mapGrid, k % 50 - 25, 2 + k % 19);
            return tools::EditOutcome{.redraw = true, .notifyViews = true, .name = "Applica"};
        });
    }

    void Report(benchmark::State& state) const {
        const auto entries = static_cast<double>(history.Entries().size());
        state.counters["entries"] = entries;
        state.counters["bytes_per_entry"] = static_cast<double>(history.Bytes()) / entries;
        state.counters["MB_per_1000_entries"] = history.Bytes() / entries * 1000 / 1e6;
        state.SetItemsProcessed(static_cast<std::int64_t>(records));
    }
};

void BM_RecordEverydayEdits(benchmark::State& state) {
    EditRun run;
    int k = 0;
    for (auto _ : state) {
        run.EverydayStep(k++);
    }
    run.Report(state);
}
BENCHMARK(BM_RecordEverydayEdits)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(1000);

// Every height of the varied map raised, each time as a new undo step: the largest entry an
// edit makes; the byte budget then keeps fewer than a thousand.
void BM_RecordWholeMapRaise(benchmark::State& state) {
    EditRun run;
    for (auto _ : state) {
        run.session.SelectCells(0, 0, 49, 49);
        run.Record([&] { return run.session.UseTool(tools::TOOL_RAISE, 1.0, *run.doc); });
    }
    run.Report(state);
}
BENCHMARK(BM_RecordWholeMapRaise)->Unit(benchmark::kMicrosecond)->UseRealTime()->Iterations(400);

void BM_ReturnToTheOldestOfAThousand(benchmark::State& state) {
    EditRun run;
    for (int k = 0; run.history.Entries().size() < tools::EditHistory::kDefaultLimit; ++k) {
        run.EverydayStep(k);
    }
    const std::uint64_t oldest = run.history.Entries().front().number;
    auto grid = std::make_unique<map::MapGrid>();
    for (auto _ : state) {
        *grid = run.doc->mapGrid;
        benchmark::DoNotOptimize(run.history.ReturnTo(oldest, *grid));
    }
    run.Report(state);
}
BENCHMARK(BM_ReturnToTheOldestOfAThousand)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
