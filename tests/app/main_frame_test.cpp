// The shell in daily use: map windows, their titles and closing, the recent files, placement,
// cascade and the window list, the maps of the command line, the Italian texts of failures and
// of the status bar, keys and drops at the view, the lock keys and the shell's own dialogs.
#include <QDropEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSplitter>
#include <QWindow>

#include "FileBytes.h"
#include "GuiMapEditor.h"
#include "app/DialogFolder.h"
#include "app/FailureMessages.h"
#include "app/LockKeyIndicators.h"
#include "app/RecentFileList.h"
#include "app/StatusReadout.h"
#include "app/WindowMenu.h"
#include "tools/ToolMode.h"

// After Qt: Xlib defines macros (None, Bool, Status) that Qt's headers use as names.
#include <X11/XKBlib.h>

using namespace zandrel;
namespace cmd = document::cmd;
using gui_test::SaveFreshMap;

namespace {

// Clicks the button named buttonName of the next modal dialog once it shows, and keeps what
// the dialog said in *seen.
void AnswerNextDialog(const QString& buttonName, QString* seen) {
    QTimer::singleShot(0, [buttonName, seen] {
        QWidget* modal = nullptr;
        QTRY_VERIFY((modal = QApplication::activeModalWidget()) != nullptr);
        if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr) {
            *seen = box->text();
        } else {
            *seen = modal->windowTitle() + "|" + modal->findChild<QLabel*>("aboutName")->text();
            QVERIFY(!modal->findChild<QLabel*>("aboutIcon")->pixmap().isNull());
        }
        modal->findChild<QPushButton*>(buttonName)->click();
    });
}

}  // namespace

class MainFrameTest : public gui_test::EditorTest {
    Q_OBJECT

public:
    static void initMain() { app::UseEditorSurfaceFormat(); }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QSettings().clear();
    }

    // Placed in the laid-out main window, though opened before it shows: wholly inside the area,
    // with the whole panel and a usable view; its system menu in Italian when Qt has the texts.
    // The lock key panes of the status bar follow the keyboard.
    void StartsWithOneNewMapWindowInTheLaidOutArea() {
        QVERIFY(Start());
        QCOMPARE(e().frame().Frames().size(), std::size_t{1});
        QTRY_COMPARE(e().active()->Panel()->width(), 200);
        QVERIFY(e().area().contains(e().window(0)->geometry()));
        QTRY_VERIFY(e().view()->width() >= 400);
        QCOMPARE(e().StatusText(), QString("Pronto"));
        QStringList texts;
        for (QAction* action : e().window(0)->systemMenu()->actions()) {
            texts.append(action->text());
        }
        if (QTranslator().load(QLocale(QLocale::Italian, QLocale::Italy), "qtbase", "_",
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QVERIFY2(texts.contains("&Ripristina") && texts.contains("&Sposta"),
                     qPrintable(texts.join('|')));
        }

        const auto pane = [&](const char* name) {
            return e().frame().findChild<QLabel*>(name)->text();
        };
        e().frame().Indicators().Show(true, false, true);
        QCOMPARE(pane("capsIndicator") + pane("numIndicator") + "|" + pane("scrollIndicator"),
                 QString("MAIUSC|SCORR"));
        // Caps Lock switched at the X server shows up on the next refresh.
        Display* display = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
        for (const bool caps : {true, false}) {
            XkbLockModifiers(display, XkbUseCoreKbd, LockMask, caps ? LockMask : 0);
            XSync(display, False);
            e().frame().Indicators().Refresh();
            QCOMPARE(pane("capsIndicator"), QString(caps ? "MAIUSC" : ""));
        }
    }

    // A second window shows the same map. A modified map is starred in both titles, named once
    // when maximised, and asked about once before its last window closes, before it closes
    // with all its windows and before the editor quits; closing another window asks nothing.
    void TitlesStarAModifiedMapAndClosingItAsksOnce() {
        QVERIFY(Start());
        QVERIFY(e().Run(cmd::kWindowNew));
        const auto frames = e().frame().Frames();
        QCOMPARE(frames.size(), std::size_t{2});
        QCOMPARE(frames[0]->GetDocument(), frames[1]->GetDocument());
        QCOMPARE(e().window(0)->windowTitle(), QString("zandrelEditor1:1"));
        QCOMPARE(e().window(1)->windowTitle(), QString("zandrelEditor1:2"));
        e().doc()->SetModified(true);
        QVERIFY(e().window(1)->close());
        QTRY_COMPARE(e().frame().Frames().size(), std::size_t{1});
        QVERIFY(e().prompts->saveQuestions.isEmpty());
        QTRY_COMPARE(e().window(0)->windowTitle(), QString("zandrelEditor1*"));
        QCOMPARE(e().frame().windowTitle(), QString("zandrelEditor - zandrelEditor1*"));
        e().window(0)->showMaximized();
        QTRY_COMPARE(e().frame().windowTitle(), QString("zandrelEditor - [zandrelEditor1*]"));
        QVERIFY(!e().window(0)->close());
        QVERIFY(!e().frame().close());
        QCOMPARE(e().prompts->saveQuestions, QStringList({"zandrelEditor1", "zandrelEditor1"}));
        e().prompts->saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(e().window(0)->close());
        QTRY_VERIFY(e().app->Documents().Documents().empty());
        QTRY_COMPARE(e().frame().windowTitle(), QString("zandrelEditor"));

        QVERIFY(e().Run(cmd::kFileNew) && e().Run(cmd::kFileNew) && e().Run(cmd::kWindowNew));
        e().doc()->SetModified(true);
        QVERIFY(e().Run(cmd::kFileClose));
        QTRY_COMPARE(e().frame().Frames().size(), std::size_t{1});
        e().doc()->SetModified(true);
        QVERIFY(e().frame().close());
        QCOMPARE(e().prompts->saveQuestions,
                 QStringList({"zandrelEditor1", "zandrelEditor1", "zandrelEditor1",
                              "zandrelEditor3", "zandrelEditor2"}));
        QTRY_VERIFY(e().app->Documents().Documents().empty());
    }

    // Saved and opened maps join the recent list, newest first and four at most; the next run
    // shows it, an ampersand literally, and opens from it; entries that no longer open leave,
    // and an empty list is one disabled item.
    void TheRecentListKeepsTheLastFourMaps() {
        QVERIFY(Start());
        e().doc()->SetModified(true);
        e().prompts->savePath = dir_.filePath("saved.zdm");
        QVERIFY(e().Run(cmd::kFileSave));
        QCOMPARE(e().window(0)->windowTitle(), QString("saved.zdm"));
        QStringList paths;
        for (int k = 0; k < 4; ++k) {
            paths.prepend(SaveFreshMap(dir_, QString("map%1&.zdm").arg(k)));
            QVERIFY(e().frame().OpenFile(paths.front()));
        }

        QVERIFY(Start({}, false));
        e().commands().UpdateAll();
        for (int k = 0; k < 4; ++k) {
            QAction* entry = e().commands().Action(cmd::kFileMru1 + k);
            QCOMPARE(entry->text(),
                     QString("&%1 %2").arg(k + 1).arg(QString(paths[k]).replace("&", "&&")));
            QVERIFY(entry->isEnabled() && entry->isVisible());
        }
        QVERIFY(!QSettings().contains("Recent File List/File5"));
        QVERIFY(e().Run(cmd::kFileMru1 + 3));
        QCOMPARE(e().doc()->PathName(), paths[3]);
        QVERIFY(e().frame().CloseDocument(e().doc()));
        QTRY_VERIFY(e().app->Documents().Documents().empty());
        for (const QString& path : paths) {
            QVERIFY(QFile::remove(path));
        }
        for (int k = 0; k < 4; ++k) {
            QVERIFY(e().Run(cmd::kFileMru1));
        }
        QCOMPARE(e().prompts->errors.size(), 4);
        e().commands().UpdateAll();
        QCOMPARE(e().commands().Action(cmd::kFileMru1)->text(), QString("File recenti"));
        QVERIFY(!e().commands().Action(cmd::kFileMru1)->isEnabled());
        QVERIFY(!e().commands().Action(cmd::kFileMru1 + 1)->isVisible());
        QVERIFY(!QSettings().contains("Recent File List/File1"));
    }

    // The window list names every window, the active one checked, and activates the chosen one;
    // beyond nine "Altre finestre..." picks among all of them. New windows step down and right
    // inside the area and start again at the top left; the cascade puts every window back at
    // the new window size.
    void WindowsAreListedAndPlacedInsideTheArea() {
        QVERIFY(Start());
        e().Run(cmd::kWindowNew);
        e().Run(cmd::kFileNew);
        app::WindowMenu& menu = e().frame().WindowList();
        menu.Rebuild();
        QCOMPARE(menu.Entries().at(1)->text(), QString("&2 zandrelEditor1:2"));
        QVERIFY(menu.Entries().at(2)->isChecked() && !menu.Entries().at(1)->isChecked());
        menu.Entries().at(1)->trigger();
        QCOMPARE(e().active(), e().frame().Frames().at(1));
        while (e().frame().Frames().size() < 14) {
            QVERIFY(e().Run(cmd::kFileNew));
        }
        menu.Rebuild();
        QCOMPARE(menu.Entries().size(), std::size_t{10});
        QCOMPARE(menu.Entries().back()->text(), QString("&Altre finestre..."));
        e().prompts->chosenWindow = 10;
        menu.Entries().back()->trigger();
        QCOMPARE(e().prompts->windowChoices.value(0).size(), 14);
        QCOMPARE(e().active(), e().frame().Frames().at(10));

        const QSize size = e().window(0)->size();
        int wraps = 0;
        for (int pass = 0; pass < 2; ++pass) {
            for (std::size_t k = 0; k < e().frame().Frames().size(); ++k) {
                const QRect placed = e().window(k)->geometry();
                QVERIFY2(e().area().contains(placed), qPrintable(QString::number(k)));
                QCOMPARE(placed.size(), size);
                if (k == 0 || placed.topLeft() == QPoint(0, 0)) {
                    QCOMPARE(placed.topLeft(), QPoint(0, 0));
                    wraps += k == 0 ? 0 : 1;
                    continue;
                }
                const QPoint step = placed.topLeft() - e().window(k - 1)->pos();
                QVERIFY(step.x() > 0 && step.x() == step.y());
            }
            e().window(1)->resize(120, 90);
            e().window(2)->showMaximized();
            QVERIFY(e().Run(cmd::kWindowCascade));
        }
        QVERIFY(wraps > 1);
        QTRY_VERIFY(e().frame().Frames().front()->View()->width() >= 400);
    }

    // Every map named on the command line that opens gets a window, the last one active.
    void EveryMapNamedOnTheCommandLineOpensAndTheLastIsActive() {
        const QString first = SaveFreshMap(dir_, "a.zdm");
        const QString last = SaveFreshMap(dir_, "c.zdm");
        QVERIFY(Start({first, dir_.filePath("b.zdm"), last}));
        QCOMPARE(e().frame().Frames().size(), std::size_t{2});
        QCOMPARE(e().frame().Frames().front()->GetDocument()->PathName(), first);
        QCOMPARE(e().doc()->PathName(), last);
        QCOMPARE(e().doc()->mapGrid().Cell(3, 4).C, 1.0);
        QCOMPARE(e().active()->parentWidget()->windowTitle(), QString("c.zdm"));
        QCOMPARE(e().prompts->errors.size(), 1);
        QVERIFY(e().prompts->errors.front().contains("b.zdm"));
        // The open dialog starts in the active map's folder; with an untitled map active, in
        // the folder last opened from, kept in the settings.
        const QString folder = QFileInfo(last).absolutePath();
        e().Run(cmd::kFileOpen);
        QCOMPARE(e().prompts->openFolder, folder);
        e().Run(cmd::kFileNew);
        e().Run(cmd::kFileOpen);
        QCOMPARE(e().prompts->openFolder, folder);
        // Never in a folder gone since.
        QCOMPARE(app::DialogFolder::Choose(dir_.filePath("gone/m.zdm"), folder), folder);
        QCOMPARE(app::DialogFolder::Choose("", dir_.filePath("gone")), QString());

        // The box says why in Italian, with the line or the value; nothing that failed joins the
        // recent files, and with no map open the editor does not start.
        const QString broken = dir_.filePath("broken.zdm");
        gui_test::WriteAll(broken, "<ZanMap SizeX=\"3\"\n\n <<< not a map");
        const QString big = dir_.filePath("big.zdm");
        gui_test::WriteAll(big, "<ZanMap SizeX=\"60\" SizeZ=\"10\" numtex=\"0\"></ZanMap>\n");
        QVERIFY(!Start({broken, big, dir_.path()}));
        const QStringList& errors = e().prompts->errors;
        QCOMPARE(errors.size(), 3);
        QVERIFY2(errors[0].contains("riga 3") && errors[1].contains("SizeX vale 60") &&
                     errors[2].contains("cartella"),
                 qPrintable(errors.join('|')));
        QCOMPARE(e().app->RecentFiles().Files(), QStringList({last, first}));
        QVERIFY(!e().frame().isVisible());
    }

    // Every cause has a text of its own, with its numbers filled in, after the action's heading;
    // the command line case above shows the words themselves.
    void MessagesNameTheCauseInItalian() {
        QSet<QString> causes;
        for (int kind = 0; kind <= static_cast<int>(FailureKind::NameTooLong); ++kind) {
            const FailureCause cause{static_cast<FailureKind>(kind), 9361, "SizeX", 60, 50, 0};
            const QString text =
                app::FailureMessages::Text(app::FailureMessages::Action::Save, "/m/map.zdm", cause);
            QVERIFY2(text.startsWith("Impossibile salvare il documento /m/map.zdm.") &&
                         !text.contains('%'),
                     qPrintable(text));
            causes.insert(text);
        }
        QCOMPARE(causes.size(), static_cast<int>(FailureKind::NameTooLong) + 1);
    }

    void ReadoutNamesTheCellTheSelectionAndTheTool() {
        map::MapGrid grid(50, 50);
        map::MapCell& cell = grid.cells[3][4];
        cell.NO = 1.5;
        cell.C = -2.25;
        cell.typew = 77;  // outside the table: drawn untextured, named "-"
        cell.goal = 1;
        cell.artr = 0.5;
        map::CellRect selection;
        selection.Set(13, 5, 3, 4);
        const QString text =
            app::StatusReadout::Text(grid, 4 * 100 + 3, selection, tools::TOOL_PYRAMID);
        for (const char* part : {"x 3 z 4", "NO 1.50", "C -2.25", "Wall -", "Attrito 0.50",
                                 "Goal sì", "(3,4)-(13,5) 11×2", "Strumento Piramide",
                                 "Altezze min 0.00 max 1.50 media 0.02 pendenza 56.3°"}) {
            QVERIFY2(text.contains(QString::fromUtf8(part)), qPrintable(text + " lacks " + part));
        }
        QVERIFY(app::StatusReadout::Text(grid, -1, selection, tools::TOOL_PYRAMID,
                                         tools::BrushKind::Wall)
                    .endsWith("Strumento Pennello wall"));
        QVERIFY(app::StatusReadout::CellText(grid, -1).startsWith("Fuori"));
        grid.SizeX = 3;
        QVERIFY(app::StatusReadout::CellText(grid, 4 * 100 + 3).startsWith("Fuori"));
    }

    // The view draws into a native window of its own: a click, a key, a shortcut, a pointer
    // move or a dropped file arriving there must reach the widgets as if the view were an
    // ordinary widget. The copy key reaches the map from a read-only field of the panel too;
    // from the main window Ctrl+R turns the copied block, and Ctrl+V and Shift+Ins both merge
    // it onto the selection, each as one undoable edit.
    void InputAtTheViewWindowReachesTheEditor() {
        const QString path = SaveFreshMap(dir_, "dropped-on-view.zdm");
        QVERIFY(Start());
        e().frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e().frame()));
        view3d::CzandrelEditorView* view = e().view();
        QWindow* surface = view->Surface();
        QVERIFY(QTest::qWaitForWindowExposed(surface));
        QTRY_VERIFY(view->TexturesLoaded());
        const QPoint centre = view->rect().center();
        const auto selected = gui_test::Corners(view->selection());
        QMouseEvent move(QEvent::MouseMove, centre, view->mapToGlobal(centre), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view, &move);
        QVERIFY(view->CellUnderPointer(centre) >= 0);
        QVERIFY2(e().frame().PointerReadout()->text().startsWith("x "),
                 qPrintable(e().frame().PointerReadout()->text()));
        QCOMPARE(gui_test::Corners(view->selection()), selected);

        gui_test::EditMap(*e().doc(), [](map::MapGrid& grid) { grid.SetCellHeight(1, 0, 2.0); });
        view->selection().Set(0, 0, 1, 0);
        auto* field = e().Panel<QLineEdit>("gravityValue");
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(e().app->clipboard().hasContent);
        QTest::keyClick(&e().frame(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(e().app->clipboard().SizeZ, 2);
        const map::MapGrid& grid = e().doc()->mapGrid();
        for (const QKeyCombination key :
             {Qt::ControlModifier | Qt::Key_V, Qt::ShiftModifier | Qt::Key_Insert}) {
            view->selection().Set(10, 10, 10, 10);
            QTest::keyClick(&e().frame(), key.key(), key.keyboardModifiers());
            QCOMPARE(grid.Cell(10, 11).C - grid.Cell(10, 10).C, 2.0);
            QVERIFY(e().Run(cmd::kEditUndo));
        }

        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_VERIFY(view->hasFocus());
        // F6 and Shift+F6 are the main window's shortcuts (the view's own keys are the view's
        // tests').
        QTest::keyClick(surface, Qt::Key_F6);
        QTRY_VERIFY(e().active()->Panel()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_VERIFY(view->hasFocus());

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(e().frame().Frames().size(), std::size_t{2});
        QCOMPARE(e().doc()->PathName(), path);
    }

    void TheShellsDialogsAnswer() {
        app::UserPrompts prompts;
        QString text;
        using enum app::SaveAnswer;
        for (const auto& [button, answer] :
             {std::pair{"saveNo", Discard}, {"saveCancel", Cancel}, {"saveYes", Save}}) {
            AnswerNextDialog(button, &text);
            QCOMPARE(prompts.AskSaveChanges(nullptr, "mappa.zdm"), answer);
            QCOMPARE(text, QString("Salvare le modifiche a mappa.zdm?"));
        }

        QVERIFY(Start());
        AnswerNextDialog("aboutOk", &text);
        QVERIFY(e().Run(cmd::kAppAbout));
        QCOMPARE(text, QString("Informazioni su zandrelEditor|zandrelEditor Ver 1.0.4"));

        // The sides stay within 1..50 whatever is typed; the anchor is the button chosen.
        app::MapSizeDialog dialog(50, 50);
        dialog.findChild<QSpinBox*>("sizeX")->setValue(60);
        dialog.findChild<QSpinBox*>("sizeZ")->setValue(0);
        dialog.findChild<QRadioButton*>("anchor_so")->click();
        const app::MapSizeChoice choice = dialog.Choice();
        QCOMPARE(choice.sizeX, 50);
        QCOMPARE(choice.sizeZ, 1);
        QVERIFY(choice.anchor == tools::ResizeAnchor::SouthWest);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
