// Time from a mouse move over the 3D view to its finished frame, on a full 50 x 50 map at
// 1280 x 1024 from the view's starting camera.
// Each move is a mouse message delivered to the view as the window system would; the frame
// counts as finished once the GL pipeline has drained (glFinish).
#include <GL/gl.h>

#include "ShownView.h"
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

}  // namespace

int main(int argc, char** argv) {
    return zandrel::bench::RunWithShownView(argc, argv, "view_input_bench", fixture);
}
