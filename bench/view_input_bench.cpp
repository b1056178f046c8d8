// Time from a mouse move over the 3D view to its finished frame, on a full 50 x 50 map at
// 1280 x 1024 from the view's starting camera. Needs an X display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./view_input_bench
// Each move is a mouse message delivered to the view as the window system would; the frame
// counts as finished once the GL pipeline has drained (glFinish).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/CzandrelEditorDoc.h"
#include "app/EditorSurfaceFormat.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

namespace {

using zandrel::app::CzandrelEditorDoc;
using zandrel::view3d::CzandrelEditorView;

// One shown view over a new map with a bumpy block, so that walls are drawn too.
struct ViewFixture {
    ViewFixture() : doc(std::make_unique<CzandrelEditorDoc>()) {
        doc->OnNewDocument();
        for (int x = 20; x < 30; ++x) {
            for (int z = 20; z < 30; ++z) {
                doc->mapGrid().SetCellHeight(x, z, (x + z) % 3);
            }
        }
        view = std::make_unique<CzandrelEditorView>(doc.get());
        view->resize(1280, 1024);
        view->show();
        exposed = QTest::qWaitForWindowExposed(view.get());
        view->RedrawNow();
    }

    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point) {
        QMouseEvent event(type, QPointF(point), QPointF(view->mapToGlobal(point)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
    }

    // Moves to one of two points near the middle in turn, so that every drag step changes the
    // selection, and waits for the frame.
    void MoveAndFinish(Qt::MouseButtons buttons) {
        ++moves;
        Send(QEvent::MouseMove, Qt::NoButton, buttons, QPoint(640, moves % 2 == 0 ? 480 : 540));
        view->MakeCurrent();
        glFinish();
    }

    std::unique_ptr<CzandrelEditorDoc> doc;
    std::unique_ptr<CzandrelEditorView> view;
    bool exposed = false;
    int moves = 0;
};

ViewFixture* fixture = nullptr;

// No button held: a redraw and the notification of the document's other views.
void BM_MoveHover(benchmark::State& state) {
    for (auto _ : state) {
        fixture->MoveAndFinish(Qt::NoButton);
    }
}

// Left button held: a pick under the pointer, the selection stretched, then the redraw.
void BM_MoveDragPick(benchmark::State& state) {
    const QPoint anchor(600, 500);
    fixture->Send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, anchor);
    for (auto _ : state) {
        fixture->MoveAndFinish(Qt::LeftButton);
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
        fixture->MoveAndFinish(Qt::LeftButton | Qt::RightButton);
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
    zandrel::app::UseEditorSurfaceFormat();
    CzandrelEditorView::PrepareApplication();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    ViewFixture viewFixture;
    if (!viewFixture.exposed) {
        std::fprintf(stderr, "view_input_bench: the view window was never shown\n");
        return 1;
    }
    fixture = &viewFixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
