// "Panoramica" and "Cronologia": hidden at first and remembered; a click and a drag on the
// overview select what the 3D view then shows; a double-click in the history returns the map
// and the panel shows the values it returned to. With ZANDREL_FIGURES=folder set it also
// writes a picture of each dock there.
#include <QDockWidget>
#include <QPushButton>
#include <QSlider>

#include "GuiMapEditor.h"
#include "app/HistoryWidget.h"
#include "app/MapDocks.h"
#include "app/OverviewWidget.h"
#include "tools/ToolMode.h"

using namespace zandrel;
namespace cmd = document::cmd;
using gui_test::Corners;

class MapDocksTest : public gui_test::EditorTest {
    Q_OBJECT

public:
    static void initMain() { gui_test::PrepareApplication(); }

private slots:
    void init() {
        QSettings().remove("Docks");
        StartEditor();
    }

    void theDocksStartHiddenAndComeBackWhereTheyWereLeft() {
        QVERIFY(docks().OverviewDock()->isHidden());
        QVERIFY(!editor_->Checked(cmd::kViewHistory));
        QVERIFY(editor_->Run(cmd::kViewHistory));
        QVERIFY(editor_->Checked(cmd::kViewHistory));
        editor_->frame().addDockWidget(Qt::LeftDockWidgetArea, docks().HistoryDock());

        // Quitting keeps what was shown; the next start shows it in the same place.
        StartEditor();
        QVERIFY(!docks().HistoryDock()->isHidden());
        QVERIFY(docks().OverviewDock()->isHidden());
        QCOMPARE(editor_->frame().dockWidgetArea(docks().HistoryDock()), Qt::LeftDockWidgetArea);
        QVERIFY(editor_->Run(cmd::kViewHistory));
        QVERIFY(docks().HistoryDock()->isHidden());
    }

    void theOverviewSelectsForTheViewAndFollowsTheMap() {
        ShowOverview();
        QTest::mouseClick(overview(), Qt::LeftButton, {}, Centre(7, 3));
        QCOMPARE(Corners(view_->selection()), (std::array{7, 3, 7, 3}));

        // While the button is down the map shows the rectangle (drawing stores the selection
        // the view shows in the map); on release the view centres on it.
        QTest::mousePress(overview(), Qt::LeftButton, {}, Centre(9, 9));
        QTest::mouseMove(overview(), Centre(4, 12));
        QCOMPARE(Corners(doc_->mapGrid().selection), (std::array{4, 9, 9, 12}));
        QTest::mouseRelease(overview(), Qt::LeftButton, {}, Centre(4, 12));
        QCOMPARE(Corners(view_->selection()), (std::array{4, 9, 9, 12}));
        QCOMPARE(view_->navigator().focusX, 6.5f);
        QCOMPARE(view_->navigator().focusZ, 10.5f);
        QVERIFY(!doc_->IsModified() && doc_->history().Entries().empty());

        // It redraws what changed, and follows the active window.
        Raise(0, 0, 2.0);  // a new highest height: every row takes new colours
        QCOMPARE(overview()->LastDrawnRows(), 50);
        Raise(6, 20, 1.0);
        QCOMPARE(overview()->LastDrawnRows(), 2);
        QVERIFY(editor_->Run(cmd::kFileNew));
        QTRY_COMPARE(overview()->Document(), editor_->doc());
    }

    void aDoubleClickInTheHistoryReturnsTheMapAndTheSettingsLimitIt() {
        ShowOverview();
        QTest::mouseClick(overview(), Qt::LeftButton, {}, Centre(5, 5));
        ApplyGravity(-100);
        ApplyGravity(50);
        QVERIFY(editor_->Run(cmd::kViewHistory));
        app::HistoryWidget* history = docks().History();
        QVERIFY(QTest::qWaitForWindowExposed(history));
        QCOMPARE(history->topLevelItemCount(), 2);
        QCOMPARE(history->topLevelItem(0)->text(app::HistoryWidget::kNameColumn),
                 QString("Applica"));
        QCOMPARE(history->topLevelItem(0)->text(app::HistoryWidget::kCellsColumn), QString("5, 5"));

        const QRect row = history->visualItemRect(history->ItemOf(1));
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(history->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(editor_->Field("gravityValue"), QString("-100"));  // the panel shows the map
        QCOMPARE(history->topLevelItemCount(), 3);
        QCOMPARE(history->topLevelItem(2)->text(app::HistoryWidget::kNameColumn),
                 QString("Ritorno a 1"));

        // A new map's history keeps as many entries as the settings say.
        QSettings().setValue("History/Limit", 2);
        QVERIFY(editor_->Run(cmd::kFileNew));
        doc_ = editor_->doc();
        QSettings().remove("History/Limit");
        for (int x = 0; x < 3; ++x) {
            Raise(x, 0, 1.0);
        }
        QCOMPARE(doc_->history().Entries().size(), std::size_t{2});
    }

    void writeFigures() {
        const QString folder = qEnvironmentVariable("ZANDREL_FIGURES");
        if (folder.isEmpty()) {
            QSKIP("set ZANDREL_FIGURES to a folder to write the figures");
        }
        QVERIFY(QDir().mkpath(folder));
        DrawHills();
        ShowOverview();
        QVERIFY(editor_->Run(cmd::kViewHistory));
        docks().OverviewDock()->setFloating(true);
        docks().OverviewDock()->resize(330, 350);
        docks().HistoryDock()->setFloating(true);
        docks().HistoryDock()->resize(400, 300);
        QTest::mouseClick(overview(), Qt::LeftButton, {}, Centre(30, 12));
        view_->ReturnToEntry(9);
        // Closer in than a new view, so the part of the map it shows is drawn inside the map.
        view_->navigator().camera.Set(38.0f, 22.0f, 48.0f, 26.0f, 0.0f, 22.0f, 0.0f, 1.0f, 0.0f);
        doc_->Change([](tools::DocumentState&) { return tools::EditOutcome{false, true}; }, view_);
        QTest::qWait(50);
        QVERIFY(docks().OverviewDock()->grab().save(folder + "/overview-dock.png"));
        QVERIFY(docks().HistoryDock()->grab().save(folder + "/history-dock.png"));
    }

private:
    void StartEditor() {
        QVERIFY(Start());
        doc_ = editor_->doc();
        view_ = editor_->view();
    }

    app::MapDocks& docks() { return editor_->frame().Docks(); }

    // Shown, and following the active window once the activation has been announced.
    void ShowOverview() {
        if (docks().OverviewDock()->isHidden()) {
            QVERIFY(editor_->Run(cmd::kViewOverview));
        }
        docks().OverviewDock()->setMinimumSize(300, 300);
        QVERIFY(QTest::qWaitForWindowExposed(overview()));
        QVERIFY(QTest::qWaitFor([&] { return overview()->Document() == doc_; }));
    }
    app::OverviewWidget* overview() { return docks().Overview(); }

    QPoint Centre(int x, int z) { return docks().Overview()->CellArea(x, z).center().toPoint(); }

    void Raise(int x, int z, double by) {
        gui_test::EditMap(
            *doc_, [&](map::MapGrid& grid) { grid.RaiseCell(x, z, by); }, "Alzare");
    }

    void ApplyGravity(int gravity) {
        editor_->Panel<QSlider>("gravitySlider")->setValue(gravity);
        QTest::mouseClick(editor_->Panel<QPushButton>("applyButton"), Qt::LeftButton);
    }

    // A map worth looking at: two hills, a ridge, goals, the start and the enemies, made by
    // the session's own tools so the history lists them.
    void DrawHills() {
        tools::EditSession& session = view_->session();
        const auto edit = [&](auto&& step) {
            doc_->Change([&](tools::DocumentState& state) { return step(state); }, view_);
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
        session.StoreSelection(doc_->mapGrid());
        edit([&](auto& state) { return session.ToggleGoal(state); });
        session.ToggleStartPlacement();
        edit([&](auto& state) { return session.ClickCell(3, 45, state); });
        for (const auto& [x, z] : {std::pair{45, 5}, {13, 13}, {40, 40}, {28, 18}}) {
            session.ToggleEnemyPlacement();
            edit([&](auto& state) { return session.ClickCell(x, z, state); });
        }
    }

    document::CzandrelEditorDoc* doc_ = nullptr;
    view3d::CzandrelEditorView* view_ = nullptr;
};

QTEST_MAIN(MapDocksTest)
#include "map_docks_test.moc"
