// Time from a mouse move over the 3D view to its finished frame, on a full 50 x 50 map at
// 1280 x 1024 from the view's starting camera.
// Each move is a mouse message delivered to the view as the window system would; the frame
// counts as finished once the GL pipeline has drained (glFinish).
#include <GL/gl.h>

#include "ShownView.h"
#include "document/CommandIds.h"
#include "tools/ToolMode.h"

namespace {

zandrel::bench::ShownView* fixture = nullptr;
int moves = 0;

// Moves to one of two points near the middle in turn, so that every drag step changes the
// selection, and waits for the frame.
void MoveAndFinish(Qt::MouseButtons buttons) {
    ++moves;
    fixture->Send(QEvent::MouseMove, Qt::NoButton, buttons,
                  QPoint(640, moves % 2 == 0 ? 480 : 540));
    fixture->view->MakeCurrent();
    glFinish();
}

// No button held: a redraw and the notification of the document's other views.
void BM_MoveHover(benchmark::State& state) {
    for (auto _ : state) {
        MoveAndFinish(Qt::NoButton);
    }
}

// The hover readout's share of BM_MoveHover: the cell under the pointer by a CPU ray against
// the cells, which every move now adds.
void BM_HoverRay(benchmark::State& state) {
    std::int32_t found = -1;
    for (auto _ : state) {
        ++moves;
        found = fixture->view->CellUnderPointer(QPoint(640, moves % 2 == 0 ? 480 : 540));
        benchmark::DoNotOptimize(found);
    }
    state.counters["cell"] = found;
}

// Left button held: a pick under the pointer, the selection stretched, then the redraw.
void BM_MoveDragPick(benchmark::State& state) {
    const QPoint anchor(600, 500);
    fixture->Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, anchor);
    for (auto _ : state) {
        MoveAndFinish(Qt::LeftButton);
    }
    fixture->Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, anchor);
    const auto& selection = fixture->view->selection();
    state.counters["cells"] = (selection.x1 - selection.x0 + 1) * (selection.z1 - selection.z0 + 1);
}

// Both buttons held with the raise tool: one tool application per move, then the redraw. The
// press lies halfway between the two move points, so the raises of +2 and -2 cancel out.
void BM_MoveToolDrag(benchmark::State& state) {
    fixture->view->toolState().toolMode = zandrel::tools::TOOL_RAISE;
    const QPoint at(640, 510);
    fixture->Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, at);
    fixture->Send(QEvent::MouseButtonPress, Qt::RightButton, Qt::LeftButton | Qt::RightButton, at);
    for (auto _ : state) {
        MoveAndFinish(Qt::LeftButton | Qt::RightButton);
    }
    fixture->Send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::LeftButton, at);
    fixture->Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, at);
}

// A brush stroke: each move reaches a new point of a sweep across the middle of the view and
// paints the cells from the last one to it, then the frame. Every 50 moves the stroke ends and
// a new one starts in the other texture, so each move changes the cells it paints.
constexpr int kStrokeMoves = 50;
int strokeMoves = 0;
// Slots 1 and 2 in turn, which no bench map gives its tiles.
int strokeSlot = 2;

QPoint StrokePoint(int step) {
    return QPoint(340 + step * 12, 500 + (step % 2) * 6);
}

void BM_MoveBrushStroke(benchmark::State& state) {
    zandrel::view3d::CzandrelEditorView& view = *fixture->view;
    if (strokeMoves == 0) {
        view.SetBrushSlotSource([] { return strokeSlot; });
        view.ExecuteCommand(zandrel::document::cmd::kBrushTile);
    }
    for (auto _ : state) {
        const int step = strokeMoves++ % kStrokeMoves;
        if (step == 0) {
            if (strokeMoves > 1) {
                fixture->Send(QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton,
                              StrokePoint(kStrokeMoves - 1));
            }
            strokeSlot = strokeSlot == 1 ? 2 : 1;
            fixture->Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, StrokePoint(0));
        }
        fixture->Send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, StrokePoint(step + 1));
        view.MakeCurrent();
        glFinish();
    }
    int painted = 0;
    const zandrel::map::MapGrid& grid = fixture->doc->mapGrid();
    for (int x = 0; x < grid.SizeX; ++x) {
        for (int z = 0; z < grid.SizeZ; ++z) {
            painted += grid.Cell(x, z).typet == strokeSlot ? 1 : 0;
        }
    }
    // Cells in the current stroke's texture: the length of a stroke once one is done, since
    // every stroke paints the same cells over the one before.
    state.counters["cells"] = painted;
}

// One move per repetition, so the median is that of single moves.
BENCHMARK(BM_MoveHover)
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HoverRay)
    ->Repetitions(11)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveDragPick)
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveToolDrag)
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
// Two whole strokes of 50 moves.
BENCHMARK(BM_MoveBrushStroke)
    ->Iterations(1)
    ->Repetitions(2 * kStrokeMoves)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return zandrel::bench::RunWithShownView(argc, argv, "view_input_bench", fixture);
}
