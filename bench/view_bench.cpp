// Frame and pick times of the 3D view on a full 50 x 50 map at 1280 x 1024. Needs an X display:
//   xvfb-run -a -s "-screen 0 1280x1024x24" ./view_bench
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/CzandrelEditorDoc.h"
#include "app/EditorSurfaceFormat.h"
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

    std::unique_ptr<CzandrelEditorDoc> doc;
    std::unique_ptr<CzandrelEditorView> view;
    bool exposed = false;
};

ViewFixture* fixture = nullptr;

void BM_Frame(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    state.counters["solid"] = view.IsSolid() ? 1 : 0;
    for (auto _ : state) {
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
    }
}

void BM_FrameWireframe(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    view.OnViewWireframe();
    for (auto _ : state) {
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
    }
    view.OnViewSolid();
}

// The frame drawn into the widget's framebuffer and read back, without showing it in the window.
void BM_FrameOffscreen(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    for (auto _ : state) {
        benchmark::DoNotOptimize(view.grabFramebuffer());
    }
}

void BM_Pick(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    view.RedrawNow();
    int hit = -1;
    for (auto _ : state) {
        hit = view.Pick(QPoint(640, 512));
        benchmark::DoNotOptimize(hit);
    }
    state.counters["name"] = hit;
}

// One frame or pick per repetition, so the median is that of single operations.
BENCHMARK(BM_Frame)
    ->Iterations(1)
    ->Repetitions(41)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameWireframe)
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameOffscreen)
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pick)->Iterations(1)->Repetitions(41)->ReportAggregatesOnly(true)->UseRealTime()->Unit(
    benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    zandrel::app::UseEditorSurfaceFormat();
    CzandrelEditorView::PrepareApplication();
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    ViewFixture viewFixture;
    if (!viewFixture.exposed) {
        std::fprintf(stderr, "view_bench: the view window was never shown\n");
        return 1;
    }
    fixture = &viewFixture;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fixture = nullptr;
    return 0;
}
