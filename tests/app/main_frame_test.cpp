// The shell in daily use: the command table against the menus, toolbar, keys and owners built
// from it, map windows, their titles and closing, the recent files, placement, cascade and the
// window list, the maps of the command line, the Italian texts of failures and of the status
// bar, keys and drops at the view, the view's mode items, the lock keys and the shell's dialogs.
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QToolBar>
#include <QWindow>
#include <set>

#include "FileBytes.h"
#include "GuiMapEditor.h"
#include "MouseSender.h"
#include "app/CommandTable.h"
#include "app/DialogFolder.h"
#include "app/FailureMessages.h"
#include "app/LockKeyIndicators.h"
#include "app/RecentFileList.h"
#include "app/ShellCommands.h"
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

// The built menu bar against the table it was built from: titles, captions and ids in order,
// separators where the table has them, and every item a command of the table.
void CompareWithTable(QMenuBar* bar, const std::vector<app::MenuDefinition>& definitions) {
    const QList<QAction*> menus = bar->actions();
    QCOMPARE(menus.size(), qsizetype(definitions.size()));
    for (std::size_t m = 0; m < definitions.size(); ++m) {
        QCOMPARE(menus[m]->text(), QString::fromUtf8(definitions[m].title));
        QList<QAction*> shown = menus[m]->menu()->actions();
        shown.removeIf(
            [](QAction* action) { return !action->isSeparator() && !action->isVisible(); });
        QCOMPARE(shown.size(), qsizetype(definitions[m].items.size()));
        for (std::size_t k = 0; k < definitions[m].items.size(); ++k) {
            const app::MenuItem& item = definitions[m].items[k];
            QCOMPARE(shown[k]->isSeparator(), item.caption == nullptr);
            if (item.caption != nullptr) {
                QCOMPARE(shown[k]->text(), QString::fromUtf8(item.caption));
                QCOMPARE(shown[k]->data().toInt(), item.id);
                QVERIFY2(app::CommandTable::Find(item.id) != nullptr, item.caption);
            }
        }
    }
}

}  // namespace

class MainFrameTest : public gui_test::EditorTest {
    Q_OBJECT

private slots:
    // Every case starts on one new map; those that need other arguments start again.
    void init() {
        QVERIFY(dir_.isValid());
        QSettings().clear();
        QVERIFY(Start());
    }

    // Placed in the laid-out main window, though opened before it shows: wholly inside the area,
    // with the whole panel and a usable view; its system menu in Italian when Qt has the texts.
    // The lock key panes of the status bar follow the keyboard.
    void StartsWithOneNewMapWindowInTheLaidOutArea() {
        QCOMPARE(e().frame().Frames().size(), std::size_t{1});
        QTRY_COMPARE(e().active()->Panel()->width(), 200);
        QVERIFY(e().area().contains(e().window(0)->geometry()));
        QTRY_VERIFY(e().view()->width() >= 400);
        QCOMPARE(e().StatusText(), QString("Pronto"));
        if (QTranslator().load(QLocale(QLocale::Italian, QLocale::Italy), "qtbase", "_",
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCOMPARE(e().window(0)->systemMenu()->actions().value(0)->text(),
                     QString("&Ripristina"));
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
        e().frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&e().frame()));
        view3d::CzandrelEditorView* view = e().view();
        QWindow* surface = view->Surface();
        QVERIFY(QTest::qWaitForWindowExposed(surface));
        QTRY_VERIFY(view->TexturesLoaded());
        gui_test::MouseSender{view}.Move(Qt::NoButton, view->rect().center());
        QVERIFY2(e().frame().PointerReadout()->text().startsWith("x "),
                 qPrintable(e().frame().PointerReadout()->text()));

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

    // The menus, the toolbar and the keys are the table's. Each command is answered by the owner
    // its row names and by nobody else; with the map closed, the menus are the no-map ones and
    // nothing the views answer is enabled.
    void MenusToolbarAndOwnersFollowTheTable() {
        CompareWithTable(e().frame().menuBar(), app::CommandTable::MapMenus());
        // The toolbar follows its layout, with an image of its own for every button.
        QToolBar* toolBar = e().frame().ToolBar();
        std::vector<int> ids;
        std::set<QByteArray> images;  // the pixels, so that no two buttons look alike
        for (QAction* action : toolBar->actions()) {
            ids.push_back(action->isSeparator() ? cmd::kSeparator : action->data().toInt());
            if (!action->isSeparator()) {
                const QImage image = action->icon().pixmap(QSize(16, 15)).toImage();
                QCOMPARE(image.size(), QSize(16, 15));
                images.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()),
                                         image.sizeInBytes()));
            }
        }
        QCOMPARE(ids, app::CommandTable::ToolbarLayout());
        QCOMPARE(toolBar->iconSize(), QSize(16, 15));
        QCOMPARE(images.size(), std::size_t(std::ranges::count_if(
                                    ids, [](int id) { return id != cmd::kSeparator; })));
        app::ShellCommands shell(e().frame(), e().app->Documents(), e().app->RecentFiles());
        for (const app::CommandInfo& info : app::CommandTable::Commands()) {
            document::CommandState state;
            const QByteArray id = QByteArray::number(info.id);
            QVERIFY2(e().active()->UpdateCommand(info.id, state) ==
                         (info.owner == app::CommandOwner::View),
                     id);
            QVERIFY2(shell.UpdateCommand(info.id, state) ==
                         (info.owner == app::CommandOwner::Application),
                     id);
            // The prompt is the status tip, then the tooltip after a line break.
            QAction* action = e().commands().Action(info.id);
            if (info.prompt == nullptr) {
                QVERIFY2(action->statusTip().isEmpty(), id);
            } else if (QString::fromUtf8(info.prompt).contains('\n')) {
                QCOMPARE(action->statusTip() + "\n" + action->toolTip(),
                         QString::fromUtf8(info.prompt));
            }
        }

        QVERIFY(e().Run(cmd::kFileClose));
        QTRY_VERIFY(e().app->Documents().Documents().empty());
        QTRY_COMPARE(e().frame().menuBar()->actions().size(),
                     qsizetype(app::CommandTable::NoMapMenus().size()));
        CompareWithTable(e().frame().menuBar(), app::CommandTable::NoMapMenus());
        for (const app::CommandInfo& info : app::CommandTable::Commands()) {
            QVERIFY2(!e().Enabled(info.id) || info.owner == app::CommandOwner::Application,
                     QByteArray::number(info.id));
        }
        for (const int id : {cmd::kFileSave, cmd::kFileExportImage, cmd::kFileImportHeightmap}) {
            QVERIFY(!e().Enabled(id));
        }
        QVERIFY(e().Enabled(cmd::kFileNew));

        // No key is bound twice, and no key pastes: the paste item's CTRL+V is a caption only
        // (the main window's tests show Ctrl+V merging).
        std::set<QString> keys;
        for (const app::Accelerator& key : app::CommandTable::Accelerators()) {
            const QString text = QKeySequence(QString::fromLatin1(key.key)).toString();
            QVERIFY2(keys.insert(text).second, qPrintable("key used twice: " + text));
            QVERIFY2(app::CommandTable::Find(key.id) != nullptr && key.id != cmd::kEditPaste,
                     key.key);
        }
    }

    // The views' rules reach the actions when the event loop goes idle and when a menu opens; a
    // disabled command does not run. Solid and wireframe are one choice, the tints another that the
    // checked one chosen again turns off; relief, grid and contours switch. A new view starts with
    // the modes last chosen.
    void ViewModeItemsFollowTheViewAndAreRemembered() {
        e().commands().UpdateAll();
        QVERIFY(!e().commands().Action(cmd::kFilePrint)->isEnabled());
        QVERIFY(!e().Run(cmd::kFilePrint) && !e().Run(cmd::kEditUndo));
        QAction* wireframe = e().commands().Action(cmd::kViewWireframe);
        QVERIFY(!wireframe->isChecked());
        e().view()->SetRenderMode(view3d::RenderMode::Wireframe);
        gui_test::RunIdleLoop();
        QVERIFY(wireframe->isChecked());
        e().view()->SetRenderMode(view3d::RenderMode::Solid);
        emit e().frame().menuBar()->actions().at(4)->menu()->aboutToShow();
        QVERIFY(!wireframe->isChecked());

        e().view()->SetViewModes({});
        const std::vector<std::vector<int>> choices = {
            {cmd::kViewWireframe, cmd::kViewSolid},
            {cmd::kViewTintHeight, cmd::kViewTintGravity, cmd::kViewTintFriction}};
        for (const auto& choice : choices) {
            for (const int chosen : choice) {
                QVERIFY(e().Run(chosen));
                for (const int other : choice) {
                    QVERIFY2(e().Checked(other) == (other == chosen), QByteArray::number(other));
                }
            }
        }
        QVERIFY(e().Run(cmd::kViewWireframe));
        for (const int toggled : {cmd::kViewRelief, cmd::kViewContours}) {
            QVERIFY(e().Run(toggled));
        }
        const view3d::ViewModes chosen{true, false, true, view3d::TintMode::Friction};
        QVERIFY(e().view()->Modes() == chosen);
        QVERIFY(view3d::CzandrelEditorView(nullptr).Modes() == chosen);
        QVERIFY(e().Run(cmd::kViewTintFriction) && !e().Checked(cmd::kViewTintFriction));
        // Checked items with a toolbar image show a plain check mark in the menu.
        e().commands().UpdateAll();
        QVERIFY(wireframe->isChecked() && !wireframe->icon().isNull());
        QVERIFY(!wireframe->isIconVisibleInMenu());
        e().view()->SetViewModes({});
    }
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
