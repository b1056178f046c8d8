// "Panoramica" and "Cronologia": hidden at first and remembered; a click and a drag on the
// overview select what the 3D view then shows; a double-click in the history returns the map
// and the panel shows the values it returned to. With ZANDREL_FIGURES=folder set it also
// writes a picture of each dock there.
#include <QDir>
#include <QDockWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QtTest>
#include <array>
#include <memory>

#include "EditorFixture.h"
#include "app/CommandDispatcher.h"
#include "app/EditorSurfaceFormat.h"
#include "app/HistoryWidget.h"
#include "app/MapDocks.h"
#include "app/OverviewWidget.h"
#include "document/CommandIds.h"
#include "panel/CzandrelEditorFormView.h"
#include "tools/EditNames.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

using namespace zandrel;
namespace cmd = document::cmd;

namespace {

std::array<int, 4> Corners(const map::CellRect& rect) {
    return {rect.x0, rect.z0, rect.x1, rect.z1};
}

}  // namespace

class MapDocksTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        app::UseEditorSurfaceFormat();
        view3d::CzandrelEditorView::PrepareApplication();
    }

private slots:
    void init() {
        QSettings().remove("Docks");
        editor_ = std::make_unique<gui_test::Editor>();
        QVERIFY(editor_->app->InitInstance({}));
        doc_ = frame().ActiveFrame()->GetDocument();
        view_ = frame().ActiveFrame()->View();
    }

    void cleanup() { editor_.reset(); }

    void theDocksStartHiddenAndComeBackWhereTheyWereLeft() {
        app::MapDocks& docks = frame().Docks();
        QVERIFY(docks.OverviewDock()->isHidden());
        QVERIFY(!editor_->commands().Query(cmd::kViewHistory).checked);
        QVERIFY(editor_->commands().Execute(cmd::kViewHistory));
        QVERIFY(editor_->commands().Query(cmd::kViewHistory).checked);
        frame().addDockWidget(Qt::LeftDockWidgetArea, docks.HistoryDock());

        // Quitting keeps what was shown; the next start shows it in the same place.
        editor_.reset();
        editor_ = std::make_unique<gui_test::Editor>();
        QVERIFY(editor_->app->InitInstance({}));
        app::MapDocks& again = frame().Docks();
        QVERIFY(!again.HistoryDock()->isHidden());
        QVERIFY(again.OverviewDock()->isHidden());
        QCOMPARE(frame().dockWidgetArea(again.HistoryDock()), Qt::LeftDockWidgetArea);
        QVERIFY(editor_->commands().Execute(cmd::kViewHistory));
        QVERIFY(again.HistoryDock()->isHidden());
    }

    void aClickAndADragOnTheOverviewSelectForTheView() {
        app::OverviewWidget* overview = ShowOverview();
        QTest::mouseClick(overview, Qt::LeftButton, {}, Centre(*overview, 7, 3));
        QCOMPARE(Corners(view_->selection()), (std::array{7, 3, 7, 3}));
        // The view drew it: drawing stores the selection it shows in the map.
        QCOMPARE(Corners(doc_->mapGrid().selection), (std::array{7, 3, 7, 3}));
        QCOMPARE(view_->navigator().focusX, 7.5f);
        QCOMPARE(view_->navigator().focusZ, 3.5f);

        QTest::mousePress(overview, Qt::LeftButton, {}, Centre(*overview, 9, 9));
        QTest::mouseMove(overview, Centre(*overview, 4, 12));
        QCOMPARE(Corners(doc_->mapGrid().selection), (std::array{4, 9, 9, 12}));
        QTest::mouseRelease(overview, Qt::LeftButton, {}, Centre(*overview, 4, 12));
        QCOMPARE(Corners(view_->selection()), (std::array{4, 9, 9, 12}));
        QCOMPARE(view_->navigator().focusX, 6.5f);
        QCOMPARE(view_->navigator().focusZ, 10.5f);
        QVERIFY(!doc_->IsModified());
        QVERIFY(doc_->history().Entries().empty());
    }

    void theOverviewFollowsChangesAndTheActiveWindow() {
        app::OverviewWidget* overview = ShowOverview();
        Raise(0, 0, 2.0);  // a new highest height: every row takes new colours
        QCOMPARE(overview->LastDrawnRows(), 50);
        Raise(6, 20, 1.0);
        QCOMPARE(overview->LastDrawnRows(), 2);

        QVERIFY(editor_->commands().Execute(cmd::kFileNew));
        QTRY_VERIFY(overview->Document() != doc_);
        QCOMPARE(overview->Document(), frame().ActiveFrame()->GetDocument());
    }

    void aDoubleClickInTheHistoryReturnsTheMap() {
        app::OverviewWidget* overview = ShowOverview();
        QTest::mouseClick(overview, Qt::LeftButton, {}, Centre(*overview, 5, 5));
        ApplyGravity(-100);
        ApplyGravity(50);
        QVERIFY(editor_->commands().Execute(cmd::kViewHistory));
        app::HistoryWidget* history = frame().Docks().History();
        QVERIFY(QTest::qWaitForWindowExposed(history));
        QCOMPARE(history->topLevelItemCount(), 2);
        QCOMPARE(history->topLevelItem(0)->text(app::HistoryWidget::kNameColumn),
                 QString("Applica"));
        QCOMPARE(history->topLevelItem(0)->text(app::HistoryWidget::kCellsColumn), QString("5, 5"));

        const QRect row = history->visualItemRect(history->ItemOf(1));
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(history->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(doc_->mapGrid().Cell(5, 5).grav, -100.0);
        QCOMPARE(PanelText("gravityValue"), QString("-100"));
        QCOMPARE(history->topLevelItemCount(), 3);
        QCOMPARE(history->topLevelItem(2)->text(app::HistoryWidget::kNameColumn),
                 QString("Ritorno a 1"));
        QVERIFY(editor_->commands().Query(cmd::kEditUndo).enabled);
    }

    void theHistoryKeepsAsManyEntriesAsTheSettingsSay() {
        QSettings().setValue("History/Limit", 2);
        QVERIFY(editor_->commands().Execute(cmd::kFileNew));
        doc_ = frame().ActiveFrame()->GetDocument();
        QSettings().remove("History/Limit");
        for (int x = 0; x < 3; ++x) {
            Raise(x, 0, 1.0);
        }
        QCOMPARE(doc_->history().Entries().size(), std::size_t{2});
        QCOMPARE(doc_->history().Entries().front().number, std::uint64_t{2});
    }

    void writeFigures() {
        const QByteArray folder = qgetenv("ZANDREL_FIGURES");
        if (folder.isEmpty()) {
            QSKIP("set ZANDREL_FIGURES to a folder to write the figures");
        }
        QVERIFY(QDir().mkpath(QString::fromLocal8Bit(folder)));
        DrawHills();
        app::OverviewWidget* overview = ShowOverview();
        QVERIFY(editor_->commands().Execute(cmd::kViewHistory));
        app::MapDocks& docks = frame().Docks();
        docks.OverviewDock()->setFloating(true);
        docks.OverviewDock()->resize(330, 350);
        docks.HistoryDock()->setFloating(true);
        docks.HistoryDock()->resize(400, 300);
        QTest::mouseClick(overview, Qt::LeftButton, {}, Centre(*overview, 30, 12));
        view_->ReturnToEntry(9);
        // Closer in than a new view, so the part of the map it shows is drawn inside the map.
        view_->navigator().camera.Set(38.0f, 22.0f, 48.0f, 26.0f, 0.0f, 22.0f, 0.0f, 1.0f, 0.0f);
        doc_->Change([](tools::DocumentState&) { return tools::EditOutcome{false, true}; }, view_);
        QTest::qWait(50);
        const QString base = QString::fromLocal8Bit(folder) + "/";
        QVERIFY(docks.OverviewDock()->grab().save(base + "overview-dock.png"));
        QVERIFY(docks.HistoryDock()->grab().save(base + "history-dock.png"));
    }

private:
    app::CMainFrame& frame() { return editor_->frame(); }

    app::OverviewWidget* ShowOverview() {
        if (frame().Docks().OverviewDock()->isHidden()) {
            editor_->commands().Execute(cmd::kViewOverview);
        }
        app::OverviewWidget* overview = frame().Docks().Overview();
        frame().Docks().OverviewDock()->setMinimumSize(300, 300);
        if (!QTest::qWaitForWindowExposed(overview)) {
            qWarning("the overview did not show");
        }
        // It follows the active window once the activation has been announced.
        if (!QTest::qWaitFor([&] { return overview->Document() == doc_; })) {
            qWarning("the overview does not show the active map");
        }
        return overview;
    }

    static QPoint Centre(const app::OverviewWidget& overview, int x, int z) {
        return overview.CellArea(x, z).center().toPoint();
    }

    void Raise(int x, int z, double by) {
        doc_->Change(
            [&](tools::DocumentState& state) {
                state.mapGrid.RaiseCell(x, z, by);
                return tools::EditOutcome{};
            },
            nullptr, "Alzare");
    }

    void ApplyGravity(int gravity) {
        auto* panel = frame().ActiveFrame()->Panel();
        panel->findChild<QSlider*>("gravitySlider")->setValue(gravity);
        QTest::mouseClick(panel->findChild<QPushButton*>("applyButton"), Qt::LeftButton);
    }

    QString PanelText(const char* field) {
        return frame().ActiveFrame()->Panel()->findChild<QLineEdit*>(field)->text();
    }

    // A map worth looking at: two hills, a ridge, goals, the start and the enemies, made by
    // the session's own tools so the history lists them.
    void DrawHills() {
        tools::EditSession& session = view_->session();
        const auto edit = [&](auto&& step) {
            doc_->Change([&](tools::DocumentState& state) { return step(state); }, view_);
        };
        const auto pyramid = [&](int x, int z, int side, double height) {
            session.SelectCells(x, z, x + side - 1, z + side - 1);
            edit([&](auto& state) { return session.UseTool(tools::TOOL_PYRAMID, height, state); });
        };
        pyramid(6, 6, 15, 70.0);
        pyramid(30, 26, 13, 50.0);
        session.SelectCells(22, 4, 24, 44);
        edit([&](auto& state) { return session.UseTool(tools::TOOL_RAISE, 2.0, state); });
        edit([&](auto& state) { return session.UseTool(tools::TOOL_RAISE, 1.0, state); });
        session.SelectCells(0, 30, 12, 40);
        edit([&](auto& state) { return session.UseTool(tools::TOOL_TILT, 15.0, state); });
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

    std::unique_ptr<gui_test::Editor> editor_;
    document::CzandrelEditorDoc* doc_ = nullptr;
    view3d::CzandrelEditorView* view_ = nullptr;
};

QTEST_MAIN(MapDocksTest)
#include "map_docks_test.moc"
