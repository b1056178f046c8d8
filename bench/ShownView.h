#pragma once

// A shown 3D view over a full 50 x 50 map at 1280 x 1024, for the view benchmarks. They need an
// X display: xvfb-run -a -s "-screen 0 1280x1024x24" ./<benchmark>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

#include "BenchMaps.h"
#include "app/EditorSurfaceFormat.h"
#include "document/CzandrelEditorDoc.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::bench {

// The map the view shows, chosen by ZANDREL_BENCH_MAP (BenchMaps.h; "block" by default).
// Textures load from the demo textures in the assets folder, as a designer's would.
inline void ShapeBenchMap(map::MapGrid& grid) {
    const char* chosen = std::getenv("ZANDREL_BENCH_MAP");
    ShapeBenchMap(grid, chosen != nullptr ? chosen : "block");
}

struct ShownView {
    ShownView() : doc(std::make_unique<document::CzandrelEditorDoc>()) {
        doc->OnNewDocument();
        std::error_code error;
        std::filesystem::current_path(ZANDREL_ASSETS_DIR, error);
        if (error) {
            std::fprintf(stderr, "no demo textures: %s\n", error.message().c_str());
        }
        ShapeBenchMap(doc->mapGrid());
        view = std::make_unique<view3d::CzandrelEditorView>(doc.get());
        view->resize(1280, 1024);
        view->show();
        exposed = QTest::qWaitForWindowExposed(view.get());
        view->RedrawNow();
    }

    // A mouse message delivered to the view as the window system would.
    void Send(QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPoint point) {
        QMouseEvent event(type, QPointF(point), QPointF(view->mapToGlobal(point)), button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
    }

    std::unique_ptr<document::CzandrelEditorDoc> doc;
    std::unique_ptr<view3d::CzandrelEditorView> view;
    bool exposed = false;
};

// Runs the registered benchmarks with one shown view, which `current` points at meanwhile.
inline int RunWithShownView(int argc, char** argv, const char* program, ShownView*& current) {
    app::UseEditorSurfaceFormat();
    view3d::CzandrelEditorView::PrepareApplication();
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    ShownView shown;
    if (!shown.exposed) {
        std::fprintf(stderr, "%s: the view window was never shown\n", program);
        return 1;
    }
    current = &shown;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    current = nullptr;
    return 0;
}

}  // namespace zandrel::bench
