// Frame and pick times of the 3D view on a full 50 x 50 map at 1280 x 1024.
#include <GL/gl.h>

#include "ShownView.h"

namespace {

using zandrel::view3d::CzandrelEditorView;

zandrel::bench::ShownView* fixture = nullptr;

void BM_Frame(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    state.counters["solid"] = (view.Mode() == zandrel::view3d::RenderMode::Solid) ? 1 : 0;
    for (auto _ : state) {
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
    }
}

void BM_FrameWireframe(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    view.SetRenderMode(zandrel::view3d::RenderMode::Wireframe);
    for (auto _ : state) {
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
    }
    view.SetRenderMode(zandrel::view3d::RenderMode::Solid);
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
    return zandrel::bench::RunWithShownView(argc, argv, "view_bench", fixture);
}
