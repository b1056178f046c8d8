// Draws the README's pictures of the "Panoramica" and "Cronologia" docks into FOLDER: a map made
// with the editor's own tools, so the history lists them, the docks floating beside it. Needs a
// display; run it from assets/ so the view finds its textures (README.md has the command).
#include <QApplication>
#include <QDockWidget>
#include <QStandardPaths>
#include <QtTest>
#include <cstdio>

#include "GuiMapEditor.h"
#include "app/MapDocks.h"
#include "app/OverviewWidget.h"
#include "tools/ToolMode.h"

using namespace zandrel;

namespace {

// Two hills, a ridge, a slope, goals, the start and the enemies.
void DrawHills(document::CzandrelEditorDoc& doc, view3d::CzandrelEditorView& view) {
    tools::EditSession& session = view.session();
    const auto edit = [&](auto&& step) {
        doc.Change([&](tools::DocumentState& state) { return step(state); }, &view);
    };
    const auto tool = [&](tools::ToolMode mode, int x0, int z0, int x1, int z1, double by) {
        session.SelectCells(x0, z0, x1, z1);
        edit([&](auto& state) { return session.UseTool(mode, by, state); });
    };
    tool(tools::TOOL_PYRAMID, 6, 6, 20, 20, 70.0);
    tool(tools::TOOL_PYRAMID, 30, 26, 42, 38, 50.0);
    tool(tools::TOOL_RAISE, 22, 4, 24, 44, 2.0);
    tool(tools::TOOL_RAISE, 22, 4, 24, 44, 1.0);
    tool(tools::TOOL_TILT, 0, 30, 12, 40, 15.0);
    session.SelectCells(34, 30, 37, 33);
    session.StoreSelection(doc.mapGrid());
    edit([&](auto& state) { return session.ToggleGoal(state); });
    session.ToggleStartPlacement();
    edit([&](auto& state) { return session.ClickCell(3, 45, state); });
    for (const auto& [x, z] : {std::pair{45, 5}, {13, 13}, {40, 40}, {28, 18}}) {
        session.ToggleEnemyPlacement();
        edit([&](auto& state) { return session.ClickCell(x, z, state); });
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fputs("usage: dock_figures FOLDER\n", stderr);
        return 2;
    }
    gui_test::PrepareApplication();
    QApplication application(argc, argv);
    // The docks' places and the recovery copies stay out of the user's own settings and data.
    QStandardPaths::setTestModeEnabled(true);
    QSettings().remove("Docks");
    const QString folder = QString::fromLocal8Bit(argv[1]);
    gui_test::GuiMapEditor editor;
    if (!editor.started || !QDir().mkpath(folder)) {
        return 1;
    }
    document::CzandrelEditorDoc& doc = *editor.doc();
    view3d::CzandrelEditorView& view = *editor.view();
    app::MapDocks& docks = editor.frame().Docks();
    DrawHills(doc, view);
    editor.Run(document::cmd::kViewOverview);
    docks.OverviewDock()->setMinimumSize(300, 300);
    if (!QTest::qWaitForWindowExposed(docks.Overview()) ||
        !QTest::qWaitFor([&] { return docks.Overview()->Document() == &doc; })) {
        return 1;
    }
    editor.Run(document::cmd::kViewHistory);
    docks.OverviewDock()->setFloating(true);
    docks.OverviewDock()->resize(330, 350);
    docks.HistoryDock()->setFloating(true);
    docks.HistoryDock()->resize(400, 300);
    QTest::mouseClick(docks.Overview(), Qt::LeftButton, {},
                      docks.Overview()->CellArea(30, 12).center().toPoint());
    view.ReturnToEntry(9);
    // Closer in than a new view, so the part of the map it shows is drawn inside the map.
    view.navigator().camera.Set(38.0f, 22.0f, 48.0f, 26.0f, 0.0f, 22.0f, 0.0f, 1.0f, 0.0f);
    doc.Change([](tools::DocumentState&) { return tools::EditOutcome{false, true}; }, &view);
    QTest::qWait(50);
    const bool saved = docks.OverviewDock()->grab().save(folder + "/overview-dock.png") &&
                       docks.HistoryDock()->grab().save(folder + "/history-dock.png");
    return saved ? 0 : 1;
}
