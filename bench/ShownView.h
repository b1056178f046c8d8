#pragma once

// A shown 3D view over a full 50 x 50 map at 1280 x 1024, for the view benchmarks. They need an
// X display: xvfb-run -a -s "-screen 0 1280x1024x24" ./<benchmark>
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <cstdio>
#include <memory>

#include "app/EditorSurfaceFormat.h"
#include "document/CzandrelEditorDoc.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::bench {

// A new map with a bumpy block, so that walls are drawn too.
struct ShownView {
    ShownView() : doc(std::make_unique<document::CzandrelEditorDoc>()) {
        doc->OnNewDocument();
        for (int x = 20; x < 30; ++x) {
            for (int z = 20; z < 30; ++z) {
                doc->mapGrid().SetCellHeight(x, z, (x + z) % 3);
            }
        }
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
