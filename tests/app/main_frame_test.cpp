#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <QtTest>

#include <X11/XKBlib.h>

#include "EditorFixture.h"
#include "FakePrompts.h"
#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/LockKeyIndicators.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "panel/CzandrelEditorFormView.h"
#include "view3d/CzandrelEditorView.h"

using namespace zandrel;
namespace cmd = document::cmd;
using gui_test::Editor;
using gui_test::SaveFreshMap;

namespace {

// Clicks the button named buttonName of the next modal dialog, once it shows.
void AnswerNextDialog(const QString& buttonName, QString* seenText = nullptr) {
    QTimer::singleShot(0, [buttonName, seenText] {
        QWidget* modal = nullptr;
        QTRY_VERIFY((modal = QApplication::activeModalWidget()) != nullptr);
        if (auto* box = qobject_cast<QMessageBox*>(modal); box != nullptr && seenText != nullptr) {
            *seenText = box->text();
        }
        auto* button = modal->findChild<QPushButton*>(buttonName);
        QVERIFY(button != nullptr);
        button->click();
    });
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { app::UseEditorSurfaceFormat(); }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QSettings().remove("Recent File List");
    }

    void StartsWithOneNewMapWindow() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QCOMPARE(editor.frame().Frames().size(), std::size_t{1});
        app::CChildFrame* child = editor.frame().Frames().front();
        QCOMPARE(editor.window(0)->windowTitle(), QString("zandrelEditor1"));
        QTRY_COMPARE(editor.frame().windowTitle(), QString("zandrelEditor - zandrelEditor1"));
        QCOMPARE(child->Splitter()->widget(0), static_cast<QWidget*>(child->Panel()));
        QCOMPARE(child->Splitter()->widget(1), static_cast<QWidget*>(child->View()));
        QTRY_COMPARE(child->Panel()->width(), 200);
        // The first map window is placed in the laid-out main window, though opened before the
        // main window shows: wholly inside the area, with the whole panel and a usable view.
        QVERIFY(
            editor.frame().MdiArea()->viewport()->rect().contains(editor.window(0)->geometry()));
        QTRY_VERIFY(child->View()->width() >= 400);
        QCOMPARE(editor.frame().statusBar()->currentMessage(), QString("Pronto"));
        QCOMPARE(editor.frame().menuBar()->actions().size(), 7);
    }

    void ModifiedMapShowsInTheTitlesAndAsksBeforeClosing() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        editor.frame().Frames().front()->GetDocument()->SetModified(true);
        QCOMPARE(editor.window(0)->windowTitle(), QString("zandrelEditor1*"));
        // Maximised, the map window is named once, in the main title.
        editor.window(0)->showMaximized();
        QTRY_COMPARE(editor.frame().windowTitle(), QString("zandrelEditor - [zandrelEditor1*]"));
        editor.window(0)->showNormal();
        QTRY_COMPARE(editor.frame().windowTitle(), QString("zandrelEditor - zandrelEditor1*"));

        editor.prompts->saveAnswer = app::SaveAnswer::Cancel;
        QVERIFY(!editor.window(0)->close());
        QCOMPARE(editor.prompts->saveQuestions, QStringList{"zandrelEditor1"});
        QCOMPARE(editor.frame().Frames().size(), std::size_t{1});

        editor.prompts->saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(editor.window(0)->close());
        QTRY_VERIFY(editor.app->Documents().Documents().empty());
        QTRY_COMPARE(editor.frame().menuBar()->actions().size(), 3);
        QCOMPARE(editor.frame().windowTitle(), QString("zandrelEditor"));
    }

    void MapWindowMenuSpeaksItalian() {
        QTranslator probe;
        if (!probe.load(QLocale(QLocale::Italian, QLocale::Italy), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QSKIP("Qt's Italian catalogue is not installed");
        }
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QStringList texts;
        for (QAction* action : editor.window(0)->systemMenu()->actions()) {
            texts.append(action->text());
        }
        QVERIFY2(texts.contains("&Ripristina"), qPrintable(texts.join('|')));
        QVERIFY2(texts.contains("&Sposta"), qPrintable(texts.join('|')));
    }

    void QuittingAsksAboutEveryModifiedMap() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QVERIFY(editor.commands().Execute(cmd::kFileNew));
        QCOMPARE(editor.frame().Frames().size(), std::size_t{2});
        editor.frame().Frames().at(1)->GetDocument()->SetModified(true);

        editor.prompts->saveAnswer = app::SaveAnswer::Cancel;
        QVERIFY(!editor.frame().close());
        QCOMPARE(editor.frame().Frames().size(), std::size_t{2});

        editor.prompts->saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(editor.frame().close());
        QCOMPARE(editor.prompts->saveQuestions, QStringList({"zandrelEditor2", "zandrelEditor2"}));
        QTRY_VERIFY(editor.app->Documents().Documents().empty());
    }

    void SecondWindowShowsTheSameMapAndOnlyClosingTheMapAsks() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QVERIFY(editor.commands().Execute(cmd::kWindowNew));
        const auto frames = editor.frame().Frames();
        QCOMPARE(frames.size(), std::size_t{2});
        QCOMPARE(frames[0]->GetDocument(), frames[1]->GetDocument());
        QVERIFY(frames[0]->View() != frames[1]->View());
        QCOMPARE(editor.window(0)->windowTitle(), QString("zandrelEditor1:1"));
        QCOMPARE(editor.window(1)->windowTitle(), QString("zandrelEditor1:2"));
        QTRY_COMPARE(editor.frame().windowTitle(), QString("zandrelEditor - zandrelEditor1"));

        frames[0]->GetDocument()->SetModified(true);
        QVERIFY(editor.window(1)->close());
        QTRY_COMPARE(editor.frame().Frames().size(), std::size_t{1});
        QVERIFY(editor.prompts->saveQuestions.isEmpty());
        QCOMPARE(editor.app->Documents().Documents().size(), std::size_t{1});
        QTRY_COMPARE(editor.window(0)->windowTitle(), QString("zandrelEditor1*"));
        QCOMPARE(editor.frame().windowTitle(), QString("zandrelEditor - zandrelEditor1*"));

        // Closing the map asks once and closes every window of it.
        QVERIFY(editor.commands().Execute(cmd::kWindowNew));
        editor.prompts->saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(editor.commands().Execute(cmd::kFileClose));
        QCOMPARE(editor.prompts->saveQuestions, QStringList{"zandrelEditor1"});
        QTRY_VERIFY(editor.frame().Frames().empty());
        QTRY_VERIFY(editor.app->Documents().Documents().empty());
    }

    void RecentEntryThatNoLongerOpensLeavesTheList() {
        const QString path = SaveFreshMap(dir_, "gone.zdm");
        {
            Editor editor;
            QVERIFY(editor.frame().OpenFile(path));
        }
        QVERIFY(QFile::remove(path));
        Editor editor;
        editor.commands().UpdateAll();
        QVERIFY(editor.commands().Action(cmd::kFileMru1)->isEnabled());
        QVERIFY(editor.commands().Execute(cmd::kFileMru1));
        QCOMPARE(editor.prompts->errors.size(), 1);
        QVERIFY(editor.frame().Frames().empty());
        editor.commands().UpdateAll();
        QCOMPARE(editor.commands().Action(cmd::kFileMru1)->text(), QString("File recenti"));
        QVERIFY(!editor.commands().Action(cmd::kFileMru1)->isEnabled());
        QVERIFY(!QSettings().contains("Recent File List/File1"));
    }

    void SaveAsksForANameAndTheFileJoinsTheRecentList() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        document::CzandrelEditorDoc* doc = editor.frame().Frames().front()->GetDocument();
        doc->SetModified(true);
        editor.prompts->savePath = dir_.filePath("saved.zdm");
        QVERIFY(editor.commands().Execute(cmd::kFileSave));
        QVERIFY(!doc->IsModified());
        QCOMPARE(editor.window(0)->windowTitle(), QString("saved.zdm"));
        const QString absolute = QFileInfo(editor.prompts->savePath).absoluteFilePath();
        QCOMPARE(QSettings().value("Recent File List/File1").toString(), absolute);

        editor.commands().UpdateAll();
        QAction* first = editor.commands().Action(cmd::kFileMru1);
        QCOMPARE(first->text(), "&1 " + absolute);
        QVERIFY(first->isEnabled());
        QVERIFY(!editor.commands().Action(cmd::kFileMru1 + 1)->isVisible());

        // Another run sees the same list.
        Editor later;
        later.commands().UpdateAll();
        QCOMPARE(later.commands().Action(cmd::kFileMru1)->text(), "&1 " + absolute);
        QVERIFY(later.commands().Execute(cmd::kFileMru1));
        QCOMPARE(later.frame().Frames().size(), std::size_t{1});
    }

    void RecentListKeepsTheLastFourMaps() {
        Editor editor;
        QStringList paths;
        for (int k = 0; k < 5; ++k) {
            paths.append(SaveFreshMap(dir_, QString("map%1.zdm").arg(k)));
            QVERIFY(editor.frame().OpenFile(paths.back()));
        }
        QSettings settings;
        QCOMPARE(settings.value("Recent File List/File1").toString(), paths[4]);
        QCOMPARE(settings.value("Recent File List/File4").toString(), paths[1]);
        QVERIFY(!settings.contains("Recent File List/File5"));
    }

    void DroppedMapFilesOpen() {
        const QString path = SaveFreshMap(dir_, "dropped.zdm");
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Straight to the window's handler: QApplication routes drops only inside a real drag.
        static_cast<QObject&>(editor.frame()).event(&drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(editor.frame().Frames().size(), std::size_t{2});
        QCOMPARE(editor.frame().Frames().back()->GetDocument()->PathName(), path);
    }

    void DisplayModeCommandsMoveTheCheckMark() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        view3d::CzandrelEditorView* view = editor.frame().Frames().front()->View();
        editor.commands().UpdateAll();
        QVERIFY(editor.commands().Action(cmd::kViewSolid)->isChecked());
        QVERIFY(!editor.commands().Action(cmd::kViewWireframe)->isChecked());
        QVERIFY(editor.commands().Execute(cmd::kViewWireframe));
        QVERIFY(view->Mode() == zandrel::view3d::RenderMode::Wireframe);
        editor.commands().UpdateAll();
        QVERIFY(!editor.commands().Action(cmd::kViewSolid)->isChecked());
        QVERIFY(editor.commands().Action(cmd::kViewWireframe)->isChecked());
        // Checked items with a toolbar image show a plain check mark in the menu.
        QVERIFY(!editor.commands().Action(cmd::kViewWireframe)->icon().isNull());
        QVERIFY(!editor.commands().Action(cmd::kViewWireframe)->isIconVisibleInMenu());
    }

    // Switches flip; the tints are one choice; a new window starts with the modes last chosen.
    void ViewModeCommandsCheckAndAreRemembered() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        view3d::CzandrelEditorView* view = editor.frame().Frames().front()->View();
        view->SetViewModes({});
        for (const int id :
             {cmd::kViewRelief, cmd::kViewContours, cmd::kViewTintHeight, cmd::kViewTintFriction}) {
            QVERIFY(editor.commands().Execute(id));
        }
        editor.commands().UpdateAll();
        const std::vector<std::pair<int, bool>> checked = {
            {cmd::kViewRelief, true},       {cmd::kViewGrid, false},
            {cmd::kViewContours, true},     {cmd::kViewTintHeight, false},
            {cmd::kViewTintGravity, false}, {cmd::kViewTintFriction, true}};
        for (const auto& [id, on] : checked) {
            QCOMPARE(editor.commands().Action(id)->isChecked(), on);
        }
        const view3d::ViewModes chosen{true, false, true, view3d::TintMode::Friction};
        QVERIFY(view->Modes() == chosen);
        QVERIFY(view3d::CzandrelEditorView(nullptr).Modes() == chosen);
        // Choosing the checked tint again turns tinting off.
        QVERIFY(editor.commands().Execute(cmd::kViewTintFriction));
        QVERIFY(view->Modes().tint == view3d::TintMode::Off);
        view->SetViewModes({});
    }

    void F6MovesTheFocusBetweenPanelAndView() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        editor.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.frame()));
        app::CChildFrame* child = editor.frame().Frames().front();
        child->View()->setFocus();
        QTRY_VERIFY(child->View()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QTRY_VERIFY(child->Panel()->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6, Qt::ShiftModifier);
        QTRY_VERIFY(child->View()->hasFocus());
    }

    // The view draws into a native window of its own: a click, a key, a shortcut or a dropped
    // file arriving there must reach the widgets as if the view were an ordinary widget.
    void InputAtTheViewWindowReachesTheEditor() {
        const QString path = SaveFreshMap(dir_, "dropped-on-view.zdm");
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        editor.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.frame()));
        app::CChildFrame* child = editor.frame().Frames().front();
        QWindow* surface = child->View()->Surface();
        QVERIFY(QTest::qWaitForWindowExposed(surface));
        child->Panel()->setFocus();
        QTRY_VERIFY(child->Panel()->hasFocus());

        QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_VERIFY(child->View()->hasFocus());
        // F6 is the main window's shortcut; A is the view's own key.
        QTest::keyClick(surface, Qt::Key_F6);
        QTRY_VERIFY(child->Panel()->hasFocus());
        child->View()->setFocus();
        const auto before = child->View()->navigator().camera;
        QTest::keyClick(surface, Qt::Key_A);
        QVERIFY(child->View()->navigator().camera.target != before.target);

        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(surface, &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(editor.frame().Frames().size(), std::size_t{2});
        QCOMPARE(editor.frame().Frames().back()->GetDocument()->PathName(), path);
    }

    void CopyKeyReachesTheMapFromAReadOnlyFieldOfThePanel() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        editor.frame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.frame()));
        auto* field =
            editor.frame().Frames().front()->Panel()->findChild<QLineEdit*>("gravityValue");
        QVERIFY(field != nullptr);
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        QVERIFY(!editor.app->clipboard().hasContent);
        QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(editor.app->clipboard().hasContent);
    }

    void AboutBoxShowsItsTextsAndClosesWithOk() {
        Editor editor;
        QVERIFY(editor.app->InitInstance({}));
        QString name;
        QTimer::singleShot(0, [&name] {
            QWidget* modal = nullptr;
            QTRY_VERIFY((modal = QApplication::activeModalWidget()) != nullptr);
            QCOMPARE(modal->windowTitle(), QString("Informazioni su zandrelEditor"));
            name = modal->findChild<QLabel*>("aboutName")->text();
            QVERIFY(!modal->findChild<QLabel*>("aboutIcon")->pixmap().isNull());
            modal->findChild<QPushButton*>("aboutOk")->click();
        });
        QVERIFY(editor.commands().Execute(cmd::kAppAbout));
        QCOMPARE(name, QString("zandrelEditor Ver 1.0.4"));
    }

    void LockKeyPanesFollowTheKeyboard() {
        Editor editor;
        editor.frame().show();
        auto* caps = editor.frame().findChild<QLabel*>("capsIndicator");
        auto* num = editor.frame().findChild<QLabel*>("numIndicator");
        auto* scroll = editor.frame().findChild<QLabel*>("scrollIndicator");
        QVERIFY(caps && num && scroll);
        editor.frame().Indicators().Show(true, false, true);
        QCOMPARE(caps->text(), QString("MAIUSC"));
        QCOMPARE(num->text(), QString());
        QCOMPARE(scroll->text(), QString("SCORR"));

        // Caps Lock switched on at the X server shows up on the next refresh.
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        QVERIFY(x11 != nullptr);
        Display* display = x11->display();
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, LockMask);
        XSync(display, False);
        editor.frame().Indicators().Refresh();
        QCOMPARE(caps->text(), QString("MAIUSC"));
        XkbLockModifiers(display, XkbUseCoreKbd, LockMask, 0);
        XSync(display, False);
        editor.frame().Indicators().Refresh();
        QCOMPARE(caps->text(), QString());
    }

    void SaveChangesBoxOffersSiNoAnnulla() {
        app::UserPrompts prompts;
        QString text;
        AnswerNextDialog("saveNo", &text);
        QCOMPARE(prompts.AskSaveChanges(nullptr, "mappa.zdm"), app::SaveAnswer::Discard);
        QCOMPARE(text, QString("Salvare le modifiche a mappa.zdm?"));
        AnswerNextDialog("saveCancel");
        QCOMPARE(prompts.AskSaveChanges(nullptr, "mappa.zdm"), app::SaveAnswer::Cancel);
        AnswerNextDialog("saveYes");
        QCOMPARE(prompts.AskSaveChanges(nullptr, "mappa.zdm"), app::SaveAnswer::Save);
    }

private:
    QTemporaryDir dir_;
};

QTEST_MAIN(MainFrameTest)
#include "main_frame_test.moc"
