// Frame and pick times of the 3D view on a full 50 x 50 map at 1280 x 1024.
#include <GL/gl.h>

#include <array>

#include <chrono>

#include "FloorFrame.h"
#include "ShownView.h"
#include "tools/Camera.h"

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
    // Rows the last frame rebuilt (0 once the map stands still) and its draw calls.
    state.counters["rebuilt"] = view.Pass().LastRebuiltRows();
    state.counters["draws"] = view.Pass().LastDrawCalls();
}

// The view's frame beside the floor's (FloorFrame: the same triangles, one begin and end per
// texture), alternating in the same window: counters view_ms, floor_ms and their ratio.
void BM_FrameBesideFloor(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    const zandrel::bench::FloorFrame floor(fixture->doc->mapGrid());
    using Clock = std::chrono::steady_clock;
    const auto millis = [](Clock::duration d) {
        return std::chrono::duration<double, std::milli>(d).count();
    };
    double viewMs = 0.0;
    double floorMs = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
        const auto t1 = Clock::now();
        floor.Draw(view);
        const auto t2 = Clock::now();
        viewMs = millis(t1 - t0);
        floorMs = millis(t2 - t1);
    }
    state.counters["view_ms"] = viewMs;
    state.counters["floor_ms"] = floorMs;
    state.counters["ratio"] = floorMs > 0.0 ? viewMs / floorMs : 0.0;
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

// A solid frame with one view mode on (argument: 0 none, 1 relief, 2 grid, 3 contours,
// 4-6 tint by height, gravity, friction, 7 all), each against the plain frame of the same map.
void BM_FrameWithMode(benchmark::State& state) {
    using zandrel::view3d::TintMode;
    using zandrel::view3d::ViewModes;
    const std::array<ViewModes, 8> modes = {{{},
                                             {true, false, false, TintMode::Off},
                                             {false, true, false, TintMode::Off},
                                             {false, false, true, TintMode::Off},
                                             {false, false, false, TintMode::Height},
                                             {false, false, false, TintMode::Gravity},
                                             {false, false, false, TintMode::Friction},
                                             {true, true, true, TintMode::Height}}};
    CzandrelEditorView& view = *fixture->view;
    view.SetViewModes(modes[static_cast<std::size_t>(state.range(0))]);
    for (auto _ : state) {
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
    }
    view.SetViewModes({});
}

// A solid frame close up, as when a designer works on a few cells: the camera 12 cells from the
// map's centre, looking down at the same angle as the starting camera.
void BM_FrameCloseUp(benchmark::State& state) {
    CzandrelEditorView& view = *fixture->view;
    zandrel::tools::Camera& camera = view.navigator().camera;
    const zandrel::tools::Camera start = camera;
    camera.Set(20.0f, 14.0f, 20.0f, 25.0f, 0.0f, 25.0f, 0.0f, 1.0f, 0.0f);
    for (auto _ : state) {
        view.RedrawNow();
        view.MakeCurrent();
        glFinish();
    }
    state.counters["culled"] = view.Pass().LastCulledPieces();
    camera = start;
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
BENCHMARK(BM_FrameBesideFloor)
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
BENCHMARK(BM_FrameWithMode)
    ->DenseRange(0, 7)
    ->Iterations(1)
    ->Repetitions(21)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameCloseUp)
    ->Iterations(1)
    ->Repetitions(41)
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
