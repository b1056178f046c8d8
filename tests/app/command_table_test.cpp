#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <map>
#include <set>

#include "EventLoop.h"
#include "FakePrompts.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CommandTable.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/ShellCommands.h"
#include "document/CommandIds.h"
#include "tools/EditNames.h"
#include "tools/ToolMode.h"

using namespace zandrel;
using document::CommandState;

namespace {

// Answers a fixed set of commands and records what it ran.
class RecordingTarget : public document::CommandTarget {
public:
    std::map<int, CommandState> states;
    std::vector<int> executed;

    bool UpdateCommand(int id, CommandState& state) override {
        const auto it = states.find(id);
        if (it == states.end()) {
            return false;
        }
        state = it->second;
        return true;
    }
    bool ExecuteCommand(int id) override {
        if (!states.contains(id)) {
            return false;
        }
        executed.push_back(id);
        return true;
    }
};

// The built menu bar against the table it was built from: titles, captions and ids in order,
// separators where the table has them, and every item a command of the table.
void CompareWithTable(QMenuBar* bar, const std::vector<app::MenuSpec>& specs) {
    const QList<QAction*> menus = bar->actions();
    QCOMPARE(menus.size(), qsizetype(specs.size()));
    for (std::size_t m = 0; m < specs.size(); ++m) {
        QCOMPARE(menus[m]->text(), QString::fromUtf8(specs[m].title));
        QList<QAction*> shown;
        for (QAction* action : menus[m]->menu()->actions()) {
            if (action->isSeparator() || action->isVisible()) {
                shown.append(action);
            }
        }
        QCOMPARE(shown.size(), qsizetype(specs[m].items.size()));
        for (std::size_t k = 0; k < specs[m].items.size(); ++k) {
            const app::MenuItem& item = specs[m].items[k];
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

class CommandTableTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { app::UseEditorSurfaceFormat(); }

private slots:
    void MenusAreBuiltFromTheTableWithOrWithoutAMap() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QVERIFY(editor.InitInstance({}));
        QMenuBar* bar = editor.MainFrame().menuBar();
        CompareWithTable(bar, app::CommandTable::MapMenus());
        // A few key items in the Italian the users know.
        app::CommandDispatcher& commands = editor.MainFrame().Commands();
        QCOMPARE(commands.Action(app::cmd::kFileSave)->text(), QString("&Salva\tCtrl+S"));
        QCOMPARE(commands.Action(app::cmd::kEditUndo)->text(), QString("&Annulla\tCTRL+Z"));
        QCOMPARE(commands.Action(app::cmd::kMerge)->text(), QString("&Merge\tCTRL+M"));
        QCOMPARE(commands.Action(app::cmd::kMerge)->statusTip(),
                 QString("Fonde la selezione contenuta negli Appunti con la zona selezionata."));
        QCOMPARE(commands.Action(app::cmd::kMerge)->toolTip(), QString("Merge"));
        QVERIFY(commands.Action(app::cmd::kPyramid)->statusTip().isEmpty());

        commands.Execute(app::cmd::kFileClose);
        QTRY_VERIFY(editor.Documents().Documents().empty());
        QTRY_COMPARE(bar->actions().size(), qsizetype(app::CommandTable::NoMapMenus().size()));
        CompareWithTable(bar, app::CommandTable::NoMapMenus());
        // Map commands on the toolbar are disabled with no map.
        commands.UpdateAll();
        QVERIFY(!commands.Action(app::cmd::kFileSave)->isEnabled());
        QVERIFY(!commands.Action(app::cmd::kViewSolid)->isEnabled());
        QVERIFY(commands.Action(app::cmd::kFileNew)->isEnabled());
    }

    // Each row is answered by the owner it names and by nobody else: the map window for the
    // view's commands, the shell for the application's.
    void EveryCommandIsAnsweredByItsOwner() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QVERIFY(editor.InitInstance({}));
        app::CChildFrame* frame = editor.MainFrame().ActiveFrame();
        QVERIFY(frame != nullptr);
        app::ShellCommands shell(editor.MainFrame(), editor.Documents(), editor.RecentFiles());
        for (const app::CommandInfo& info : app::CommandTable::Commands()) {
            CommandState state;
            const QByteArray id = QByteArray::number(info.id);
            QVERIFY2(
                frame->UpdateCommand(info.id, state) == (info.owner == app::CommandOwner::View),
                id);
            QVERIFY2(shell.UpdateCommand(info.id, state) ==
                         (info.owner == app::CommandOwner::Application),
                     id);
        }
    }

    // The history names an edit after the item that made it: the caption without its mnemonic.
    void HistoryNamesAreTheMenuCaptions() {
        const std::map<int, std::string_view> names = {
            {app::cmd::kRaise, tools::ToolName(tools::TOOL_RAISE)},
            {app::cmd::kFlatten, tools::ToolName(tools::TOOL_FLATTEN)},
            {app::cmd::kLevel, tools::ToolName(tools::TOOL_LEVEL)},
            {app::cmd::kLandslide, tools::ToolName(tools::TOOL_LANDSLIDE)},
            {app::cmd::kTilt, tools::ToolName(tools::TOOL_TILT)},
            {app::cmd::kPyramid, tools::ToolName(tools::TOOL_PYRAMID)},
            {app::cmd::kGoalArea, tools::kGoalName},
            {app::cmd::kStart, tools::kStartName},
            {app::cmd::kEnemies, tools::kEnemyName},
            {app::cmd::kEditCut, tools::kCutName},
            {app::cmd::kEditPaste, tools::kPasteName},
            {app::cmd::kMerge, tools::kMergeName},
            {app::cmd::kEditUndo, tools::kUndoName},
            {app::cmd::kFileImportHeightmap, tools::kImportHeightmapName},
        };
        std::size_t found = 0;
        for (const app::MenuSpec& menu : app::CommandTable::MapMenus()) {
            for (const app::MenuItem& item : menu.items) {
                if (const auto name = names.find(item.id); name != names.end()) {
                    QString caption = QString::fromUtf8(item.caption).section('\t', 0, 0);
                    caption.remove('&').remove("...");
                    QCOMPARE(caption, QString::fromUtf8(name->second.data(), name->second.size()));
                    ++found;
                }
            }
        }
        QCOMPARE(found, names.size());
    }

    void ToolbarFollowsTheLayoutWithOneImagePerButton() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QToolBar* toolBar = editor.MainFrame().ToolBar();
        std::vector<int> ids;
        std::set<qint64> distinctImages;
        for (QAction* action : toolBar->actions()) {
            ids.push_back(action->isSeparator() ? app::cmd::kSeparator : action->data().toInt());
            if (!action->isSeparator()) {
                const QImage image = action->icon().pixmap(QSize(16, 15)).toImage();
                QVERIFY(!image.isNull());
                QCOMPARE(image.size(), QSize(16, 15));
                distinctImages.insert(image.cacheKey());
            }
        }
        QCOMPARE(ids, app::CommandTable::ToolbarLayout());
        QCOMPARE(toolBar->iconSize(), QSize(16, 15));
        QCOMPARE(distinctImages.size(),
                 std::size_t(std::count_if(ids.begin(), ids.end(),
                                           [](int id) { return id != app::cmd::kSeparator; })));
    }

    // No key is bound twice; Ctrl+V, Shift+Ins and Ctrl+M all merge, and no key pastes: the paste
    // item's CTRL+V is a caption only.
    void KeysNeverCollideAndNoneOfThemPastes() {
        std::map<QString, int> keys;
        for (const app::Accelerator& key : app::CommandTable::Accelerators()) {
            const QString text = QKeySequence(QString::fromLatin1(key.key)).toString();
            QVERIFY2(!keys.contains(text), qPrintable("key used twice: " + text));
            QVERIFY2(app::CommandTable::Find(key.id) != nullptr, key.key);
            QVERIFY(key.id != app::cmd::kEditPaste);
            keys[text] = key.id;
        }
        for (const char* merging : {"Ctrl+V", "Shift+Ins", "Ctrl+M"}) {
            QCOMPARE(keys.at(QKeySequence(merging).toString()), app::cmd::kMerge);
        }
    }

    void CtrlVMergesAndThePasteItemPastes() {
        QMainWindow window;
        RecordingTarget target;
        target.states = {{app::cmd::kMerge, {true, false}}, {app::cmd::kEditPaste, {true, false}}};
        app::CommandDispatcher commands(
            &window, [&] { return std::vector<document::CommandTarget*>{&target}; });
        commands.InstallAccelerators();
        window.resize(200, 100);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QTest::keyClick(&window, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_Insert, Qt::ShiftModifier);
        commands.Action(app::cmd::kEditPaste)->trigger();
        QCOMPARE(target.executed,
                 (std::vector<int>{app::cmd::kMerge, app::cmd::kMerge, app::cmd::kEditPaste}));
    }

    // The targets' rules reach the actions on an explicit update, when the event loop goes idle
    // and when a menu opens; a command nobody answers is disabled and does not run.
    void UpdateRulesReachTheActionsAndUnansweredCommandsStayDisabled() {
        QMainWindow window;
        RecordingTarget target;
        target.states = {{app::cmd::kEditCopy, {false, false}},
                         {app::cmd::kViewSolid, {true, true}},
                         {app::cmd::kViewWireframe, {true, false}}};
        app::CommandDispatcher commands(
            &window, [&] { return std::vector<document::CommandTarget*>{&target}; });
        QToolBar* toolBar = commands.BuildToolBar();
        window.addToolBar(toolBar);
        QMenu* vista = commands.BuildMenus(app::CommandTable::MapMenus()).at(4);
        QCOMPARE(vista->title(), QString("Vi&sta"));
        commands.UpdateAll();
        QVERIFY(!commands.Action(app::cmd::kFilePrint)->isEnabled());
        QVERIFY(!commands.Action(app::cmd::kEditCopy)->isEnabled());
        QVERIFY(!commands.Execute(app::cmd::kEditCopy));
        QVERIFY(!commands.Execute(app::cmd::kFilePrint));
        QVERIFY(target.executed.empty());
        QVERIFY(commands.Action(app::cmd::kViewSolid)->isChecked());

        // No explicit update: the idle pass picks the new states up, on the toolbar too.
        window.show();
        target.states[app::cmd::kEditUndo] = {true, false};
        target.states[app::cmd::kMerge] = {true, true};
        gui_test::RunIdleLoop();
        QVERIFY(commands.Action(app::cmd::kEditUndo)->isEnabled());
        auto* button =
            qobject_cast<QToolButton*>(toolBar->widgetForAction(commands.Action(app::cmd::kMerge)));
        QVERIFY(button != nullptr);
        QVERIFY(button->isEnabled());
        QVERIFY(button->isChecked());

        target.states[app::cmd::kViewWireframe] = {true, true};
        emit vista->aboutToShow();
        QVERIFY(commands.Action(app::cmd::kViewWireframe)->isChecked());
    }

    void RecentEntriesShowAmpersandsInPathsLiterally() {
        QMainWindow window;
        app::CommandDispatcher commands(&window,
                                        [] { return std::vector<document::CommandTarget*>{}; });
        commands.SetRecentFiles({"/mappe/gioco&prova.zdm", "/mappe/b.zdm"});
        QCOMPARE(commands.Action(app::cmd::kFileMru1)->text(),
                 QString("&1 /mappe/gioco&&prova.zdm"));
        QCOMPARE(commands.Action(app::cmd::kFileMru1 + 1)->text(), QString("&2 /mappe/b.zdm"));
    }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
