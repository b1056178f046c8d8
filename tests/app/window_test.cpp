#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

#include "EditorFixture.h"
#include "FakePrompts.h"
#include "FileBytes.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CzandrelEditorApp.h"
#include "app/DialogFolder.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/FailureMessages.h"
#include "app/RecentFileList.h"
#include "app/StatusReadout.h"
#include "app/WindowMenu.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

using namespace zandrel;
namespace cmd = document::cmd;
using gui_test::Editor;
using gui_test::SaveFreshMap;
using gui_test::WriteAll;

class WindowTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { app::UseEditorSurfaceFormat(); }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QSettings().clear();
    }

    void NewWindowsCascadeInsideTheAreaAndStartAgainAtTheTopLeft() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        int wraps = 0;
        for (int k = 1; k < 14; ++k) {
            QVERIFY(editor.commands().Execute(cmd::kFileNew));
        }
        for (std::size_t k = 0; k < editor.frame().Frames().size(); ++k) {
            const QRect placed = editor.window(k)->geometry();
            QVERIFY2(editor.area().contains(placed), qPrintable(QString::number(k)));
            if (k == 0 || placed.topLeft() == QPoint(0, 0)) {
                QCOMPARE(placed.topLeft(), QPoint(0, 0));
                wraps += k == 0 ? 0 : 1;
                continue;
            }
            const QPoint step = placed.topLeft() - editor.window(k - 1)->pos();
            QVERIFY(step.x() > 0 && step.x() == step.y());
        }
        QVERIFY(wraps > 0);
    }

    void CascadeKeepsEveryWindowAtTheNewWindowSize() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        editor.commands().Execute(cmd::kFileNew);
        editor.commands().Execute(cmd::kWindowNew);
        const QSize size = editor.window(0)->size();
        editor.window(1)->resize(120, 90);
        editor.window(2)->showMaximized();
        QVERIFY(editor.commands().Execute(cmd::kWindowCascade));
        for (std::size_t k = 0; k < 3; ++k) {
            QCOMPARE(editor.window(k)->size(), size);
            QVERIFY(editor.area().contains(editor.window(k)->geometry()));
        }
        QVERIFY(editor.window(1)->pos().x() > editor.window(0)->pos().x());
        // The panel shows whole: no scroll bar on it.
        QTRY_VERIFY(editor.frame().Frames().front()->View()->width() >= 400);
    }

    void WindowMenuListsTheWindowsAndActivatesTheChosenOne() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        editor.commands().Execute(cmd::kWindowNew);
        editor.commands().Execute(cmd::kFileNew);
        app::WindowMenu& menu = editor.frame().WindowList();
        menu.Rebuild();
        QStringList texts;
        QList<bool> checks;
        for (const QAction* entry : menu.Entries()) {
            texts.append(entry->text());
            checks.append(entry->isChecked());
        }
        QCOMPARE(texts,
                 QStringList({"&1 zandrelEditor1:1", "&2 zandrelEditor1:2", "&3 zandrelEditor2"}));
        QCOMPARE(checks, QList<bool>({false, false, true}));
        menu.Entries().at(1)->trigger();
        QCOMPARE(editor.frame().ActiveFrame(), editor.frame().Frames().at(1));

        // Beyond nine: "Altre finestre..." picks among all of them.
        while (editor.frame().Frames().size() < 11) {
            editor.commands().Execute(cmd::kFileNew);
        }
        menu.Rebuild();
        QCOMPARE(menu.Entries().size(), std::size_t{10});
        QCOMPARE(menu.Entries().back()->text(), QString("&Altre finestre..."));
        editor.prompts->chosenWindow = 10;
        menu.Entries().back()->trigger();
        QCOMPARE(editor.prompts->windowChoices.size(), 1);
        QCOMPARE(editor.prompts->windowChoices.front().size(), 11);
        QCOMPARE(editor.frame().ActiveFrame(), editor.frame().Frames().at(10));
    }

    void EveryMapNamedOnTheCommandLineOpensAndTheLastIsActive() {
        const QString first = SaveFreshMap(dir_, "a.zdm");
        const QString last = SaveFreshMap(dir_, "c.zdm");
        Editor editor;
        QVERIFY(editor.app->InitInstance({first, dir_.filePath("b.zdm"), last}));
        QCOMPARE(editor.frame().Frames().size(), std::size_t{2});
        QCOMPARE(editor.frame().Frames().front()->GetDocument()->PathName(), first);
        document::CzandrelEditorDoc* active = editor.frame().ActiveFrame()->GetDocument();
        QCOMPARE(active->PathName(), last);
        QCOMPARE(active->mapGrid().Cell(3, 4).C, 1.0);
        QCOMPARE(editor.frame().ActiveFrame()->parentWidget()->windowTitle(), QString("c.zdm"));
        QCOMPARE(editor.prompts->errors.size(), 1);
        QVERIFY(editor.prompts->errors.front().contains("b.zdm"));

        Editor failing;
        QVERIFY(!failing.app->InitInstance({dir_.filePath("x.zdm"), dir_.filePath("y.zdm")}));
        QCOMPARE(failing.prompts->errors.size(), 2);
        QVERIFY(failing.frame().Frames().empty());
        QVERIFY(!failing.frame().isVisible());
    }

    void MessagesNameTheCauseInItalian_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("action");
        QTest::addColumn<QStringList>("expected");
        using enum FailureKind;
        using Action = app::FailureMessages::Action;
        const auto row = [](const char* name, FailureKind kind, Action action, QStringList words) {
            QTest::newRow(name) << static_cast<int>(kind) << static_cast<int>(action) << words;
        };
        row("missing file", NotFound, Action::Open, {"aprire", "non esiste"});
        row("missing folder", NotFound, Action::Save, {"salvare", "cartella", "non esiste"});
        row("no permission", NoPermission, Action::Open, {"Permesso negato"});
        row("folder", IsFolder, Action::Save, {"cartella"});
        row("not a file", NotRegularFile, Action::Save, {"file normale"});
        row("disk full", DiskFull, Action::Save, {"disco è pieno"});
        row("parse error", ParseError, Action::Open, {"sintassi", "riga 9361"});
        row("stack overflow", StackOverflow, Action::Open, {"overflow", "riga 9361"});
        row("size", AboveLimit, Action::Open, {"SizeX", "60", "50"});
        row("texture name", NameTooLong, Action::Recover, {"recuperare", "SizeX", "60", "50"});
    }

    void MessagesNameTheCauseInItalian() {
        QFETCH(int, kind);
        QFETCH(int, action);
        QFETCH(QStringList, expected);
        FailureCause cause;
        cause.kind = static_cast<FailureKind>(kind);
        cause.line = 9361;
        cause.attribute = "SizeX";
        cause.value = 60;
        cause.limit = 50;
        const QString text = app::FailureMessages::Text(
            static_cast<app::FailureMessages::Action>(action), "/m/map.zdm", cause);
        for (const QString& word : expected) {
            QVERIFY2(text.contains(word), qPrintable(text));
        }
    }

    void OpenFailuresReachTheBoxWithLineAndValue() {
        const QString broken = dir_.filePath("broken.zdm");
        WriteAll(broken, "<ZanMap SizeX=\"3\"\n\n <<< not a map");
        const QString big = dir_.filePath("big.zdm");
        WriteAll(big, "<ZanMap SizeX=\"60\" SizeZ=\"10\" numtex=\"0\"></ZanMap>\n");
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QVERIFY(!editor.frame().OpenFile(broken));
        QVERIFY(!editor.frame().OpenFile(big));
        QVERIFY(!editor.frame().OpenFile(dir_.path()));
        QCOMPARE(editor.prompts->errors.size(), 3);
        // Nothing opened, and nothing that failed joins the recent files.
        QCOMPARE(editor.app->Documents().Documents().size(), std::size_t{1});
        QVERIFY(editor.app->RecentFiles().Files().isEmpty());
        QVERIFY2(editor.prompts->errors[0].contains("riga 3"),
                 qPrintable(editor.prompts->errors[0]));
        QVERIFY2(editor.prompts->errors[1].contains("SizeX vale 60"),
                 qPrintable(editor.prompts->errors[1]));
        QVERIFY2(editor.prompts->errors[2].contains("cartella"),
                 qPrintable(editor.prompts->errors[2]));
        for (const QString& error : editor.prompts->errors) {
            QVERIFY2(!error.contains("cannot") && !error.contains("line "), qPrintable(error));
        }
    }

    void ReadoutNamesTheCellTheSelectionAndTheTool() {
        map::MapGrid grid(50, 50);
        map::MapCell& cell = grid.cells[3][4];
        cell.NO = 1.5;
        cell.C = -2.25;
        cell.typet = 1;
        cell.typew = 77;  // outside the table: drawn, and named, as slot 0
        cell.goal = 1;
        cell.artr = 0.5;
        map::CellRect selection;
        selection.Set(13, 5, 3, 4);
        const QString text =
            app::StatusReadout::Text(grid, 4 * 100 + 3, selection, tools::TOOL_PYRAMID);
        for (const QString& part :
             {QString("x 3 z 4"), QString("NO 1.50"), QString("C -2.25"),
              QString("Tile ") + QString::fromUtf8(grid.textures[1].View().data()),
              QString("Wall ") + QString::fromUtf8(grid.textures[0].View().data()),
              QString("Attrito 0.50"), QString("Goal sì"), QString("(3,4)-(13,5) 11×2"),
              QString("Altezze min 0.00 max 1.50 media 0.02 pendenza 56.3°"),
              QString("Strumento Piramide")}) {
            QVERIFY2(text.contains(part), qPrintable(text + " lacks " + part));
        }
        QVERIFY(app::StatusReadout::Text(grid, -1, selection, tools::TOOL_PYRAMID,
                                         tools::BrushKind::Wall)
                    .endsWith("Strumento Pennello wall"));
        QVERIFY(app::StatusReadout::CellText(grid, -1).startsWith("Fuori"));
        grid.SizeX = 3;
        QVERIFY(app::StatusReadout::CellText(grid, 4 * 100 + 3).startsWith("Fuori"));
    }

    // The sides stay within 1..50 whatever is typed; the anchor is the button chosen.
    void MapSizeDialogGivesTheSidesAndTheAnchor() {
        app::MapSizeDialog dialog(50, 50);
        dialog.findChild<QSpinBox*>("sizeX")->setValue(60);
        dialog.findChild<QSpinBox*>("sizeZ")->setValue(0);
        dialog.findChild<QRadioButton*>("anchor_so")->click();
        const app::MapSizeChoice choice = dialog.Choice();
        QCOMPARE(choice.sizeX, 50);
        QCOMPARE(choice.sizeZ, 1);
        QVERIFY(choice.anchor == tools::ResizeAnchor::SouthWest);
    }

    void ReadoutFollowsThePointerOverTheView() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        view3d::CzandrelEditorView* view = editor.frame().Frames().front()->View();
        QVERIFY(QTest::qWaitForWindowExposed(&editor.frame()));
        const tools::MapSelection before = view->selection();
        QTRY_VERIFY(view->TexturesLoaded());
        const QPoint centre = view->rect().center();
        QMouseEvent move(QEvent::MouseMove, centre, view->mapToGlobal(centre), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QVERIFY(view->CellUnderPointer(centre) >= 0);
        QVERIFY2(editor.frame().PointerReadout()->text().startsWith("x "),
                 qPrintable(editor.frame().PointerReadout()->text()));
        QCOMPARE(view->selection().x0, before.x0);
        QCOMPARE(view->selection().z1, before.z1);
    }

    void DialogsStartInTheActiveMapsFolderElseTheLastOne() {
        QTemporaryDir other;
        const QString map = SaveFreshMap(dir_, "m.zdm");
        QCOMPARE(app::DialogFolder::Choose(map, other.path()), QFileInfo(map).absolutePath());
        QCOMPARE(app::DialogFolder::Choose("", other.path()), other.path());
        QCOMPARE(app::DialogFolder::Choose(dir_.filePath("gone/m.zdm"), other.path()),
                 other.path());
        QCOMPARE(app::DialogFolder::Choose("", dir_.filePath("gone")), QString());

        Editor editor;
        QVERIFY(editor.app->InitInstance({map}));
        editor.commands().Execute(cmd::kFileOpen);
        QCOMPARE(editor.prompts->openFolder, QFileInfo(map).absolutePath());
        // An untitled map active: the folder last opened from, kept in the settings.
        editor.commands().Execute(cmd::kFileNew);
        editor.commands().Execute(cmd::kFileOpen);
        QCOMPARE(editor.prompts->openFolder, QFileInfo(map).absolutePath());
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
