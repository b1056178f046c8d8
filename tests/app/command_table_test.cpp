#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <set>

#include "EventLoop.h"
#include "FakePrompts.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CommandTable.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/ShellCommands.h"
#include "document/CommandIds.h"

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

struct Item {
    QString caption;  // empty for a separator
    int id;
};

// What a menu bar shows: for each menu its title and items, with each item's id.
std::vector<std::pair<QString, std::vector<Item>>> Shown(QMenuBar* bar) {
    std::vector<std::pair<QString, std::vector<Item>>> shown;
    for (QAction* menuAction : bar->actions()) {
        std::vector<Item> items;
        for (QAction* action : menuAction->menu()->actions()) {
            if (action->isSeparator()) {
                items.push_back({QString(), 0});
            } else if (action->isVisible()) {
                items.push_back({action->text(), action->data().toInt()});
            }
        }
        shown.emplace_back(menuAction->text(), items);
    }
    return shown;
}

const std::vector<std::pair<QString, std::vector<Item>>> kMapMenus = {
    {"&File",
     {{"&Nuovo\tCtrl+N", 57600},
      {"&Apri...\tCtrl+O", 57601},
      {"&Chiudi", 57602},
      {"&Salva\tCtrl+S", 57603},
      {"Sal&va con nome...", 57604},
      {"", 0},
      {"File recenti", 57616},
      {"", 0},
      {"&Esci", 57665}}},
    {"&Modifica",
     {{"&Annulla\tCTRL+Z", 57643},
      {"", 0},
      {"Ta&glia\tCTRL+X", 57635},
      {"&Copia\tCTRL+C", 57634},
      {"&Incolla\tCTRL+V", 57637},
      {"&Merge\tCTRL+M", 184}}},
    {"&Visualizza", {{"&barra degli strumenti", 59392}, {"&barra di stato", 59393}}},
    {"Fi&nestra",
     {{"&Nuova finestra", 57648},
      {"&Sovrapponi", 57650},
      {"&Affianca", 57651},
      {"&Disponi icone", 57649}}},
    {"Vi&sta", {{"&Solid", 130}, {"&WireFrame", 131}}},
    {"F&unzioni",
     {{"&Alzare", 194},
      {"&Spianare", 180},
      {"&Livellare", 181},
      {"&Franare", 182},
      {"&Inclinare", 183},
      {"Piramide", 196},
      {"", 0},
      {"Area Goal", 190},
      {"Start", 191},
      {"Nemici", 200},
      {"", 0},
      {"Verifica mappa", 201}}},
    {"&?", {{"&Informazioni su zandrelEditor...", 57664}}},
};

const std::vector<std::pair<QString, std::vector<Item>>> kNoMapMenus = {
    {"&File",
     {{"&Nuovo\tCtrl+N", 57600},
      {"&Apri...\tCtrl+O", 57601},
      {"", 0},
      {"File recenti", 57616},
      {"", 0},
      {"&Chiudi", 57602},
      {"&Esci", 57665}}},
    {"&Visualizza", {{"&barra degli strumenti", 59392}, {"&barra di stato", 59393}}},
    {"&?", {{"&Informazioni su zandrelEditor...", 57664}}},
};

void CompareMenus(QMenuBar* bar, const std::vector<std::pair<QString, std::vector<Item>>>& want) {
    const auto shown = Shown(bar);
    QCOMPARE(shown.size(), want.size());
    for (std::size_t m = 0; m < want.size(); ++m) {
        QCOMPARE(shown[m].first, want[m].first);
        QCOMPARE(shown[m].second.size(), want[m].second.size());
        for (std::size_t k = 0; k < want[m].second.size(); ++k) {
            QCOMPARE(shown[m].second[k].caption, want[m].second[k].caption);
            QCOMPARE(shown[m].second[k].id, want[m].second[k].id);
        }
    }
}

}  // namespace

class CommandTableTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { app::UseEditorSurfaceFormat(); }

private slots:
    void MapMenusShowEveryCommandWithItsCaptionAndId() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QVERIFY(editor.InitInstance({}));
        CompareMenus(editor.MainFrame().menuBar(), kMapMenus);
    }

    void WithoutAMapOnlyFileViewAndHelpMenusShow() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QVERIFY(editor.InitInstance({}));
        editor.MainFrame().Commands().Execute(app::cmd::kFileClose);
        QTRY_VERIFY(editor.Documents().Documents().empty());
        QTRY_COMPARE(editor.MainFrame().menuBar()->actions().size(), 3);
        CompareMenus(editor.MainFrame().menuBar(), kNoMapMenus);
        // Map commands on the toolbar are disabled with no map.
        app::CommandDispatcher& commands = editor.MainFrame().Commands();
        commands.UpdateAll();
        QVERIFY(!commands.Action(app::cmd::kFileSave)->isEnabled());
        QVERIFY(!commands.Action(app::cmd::kViewSolid)->isEnabled());
        QVERIFY(commands.Action(app::cmd::kFileNew)->isEnabled());
    }

    void ShellAnswersExactlyTheApplicationCommands() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        app::ShellCommands shell(editor.MainFrame(), editor.Documents(), editor.RecentFiles());
        for (const app::CommandInfo& info : app::CommandTable::Commands()) {
            CommandState state;
            const bool answered = shell.UpdateCommand(info.id, state);
            QVERIFY2(answered == (info.owner == app::CommandOwner::Application),
                     qPrintable(QString::number(info.id)));
        }
    }

    void PromptsSplitIntoStatusTextAndTooltip() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        const app::CommandDispatcher& commands = editor.MainFrame().Commands();
        QAction* merge = commands.Action(app::cmd::kMerge);
        QCOMPARE(merge->statusTip(),
                 QString("Fonde la selezione contenuta negli Appunti con la zona selezionata."));
        QCOMPARE(merge->toolTip(), QString("Merge"));
        QCOMPARE(commands.Action(app::cmd::kEditPaste)->statusTip(),
                 QString("Incolla la selezione contenuta neglia Appunti."));
        QCOMPARE(commands.Action(app::cmd::kViewWireframe)->statusTip(),
                 QString("Vista in Wireframe"));
        QCOMPARE(commands.Action(app::cmd::kFileMru1 + 2)->statusTip(),
                 QString("Apre questo documento"));
        // No string: neither a prompt nor a tooltip of its own.
        QVERIFY(commands.Action(app::cmd::kPyramid)->statusTip().isEmpty());
        QVERIFY(commands.Action(app::cmd::kGoalArea)->statusTip().isEmpty());
    }

    void ToolbarHasNineteenButtonsInOrder() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QToolBar* toolBar = editor.MainFrame().ToolBar();
        QList<int> ids;
        for (QAction* action : toolBar->actions()) {
            ids.append(action->isSeparator() ? 0 : action->data().toInt());
        }
        const QList<int> expected = {57600, 57601, 57603, 0,   57635, 57634, 57637, 184,
                                     0,     57664, 0,     131, 130,   0,     180,   194,
                                     183,   181,   182,   196, 0,     191,   190,   200};
        QCOMPARE(ids, expected);
        QCOMPARE(toolBar->iconSize(), QSize(16, 15));
        std::set<qint64> distinctImages;
        for (QAction* action : toolBar->actions()) {
            if (!action->isSeparator()) {
                const QImage image = action->icon().pixmap(QSize(16, 15)).toImage();
                QCOMPARE(image.size(), QSize(16, 15));
                distinctImages.insert(image.cacheKey());
                QVERIFY(!image.isNull());
            }
        }
        QCOMPARE(distinctImages.size(), std::size_t{19});
    }

    void KeysFollowTheAcceleratorTable() {
        std::map<QString, int> keys;
        for (const app::Accelerator& key : app::CommandTable::Accelerators()) {
            const QString text = QKeySequence(QString::fromLatin1(key.key)).toString();
            QVERIFY2(!keys.contains(text), qPrintable("key used twice: " + text));
            keys[text] = key.id;
        }
        QCOMPARE(keys.size(), std::size_t{15});
        QCOMPARE(keys.at(QKeySequence("Ctrl+V").toString()), app::cmd::kMerge);
        QCOMPARE(keys.at(QKeySequence("Shift+Ins").toString()), app::cmd::kMerge);
        QCOMPARE(keys.at(QKeySequence("Ctrl+M").toString()), app::cmd::kMerge);
        QCOMPARE(keys.at(QKeySequence("Alt+Backspace").toString()), app::cmd::kEditUndo);
        QCOMPARE(keys.at(QKeySequence("Shift+F6").toString()), app::cmd::kPrevPane);
        for (const auto& [text, id] : keys) {
            QVERIFY2(id != app::cmd::kEditPaste, "no key may paste");
            QVERIFY(app::CommandTable::Find(id) != nullptr);
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

    void UnhandledCommandIsDisabledAndDoesNotRun() {
        QMainWindow window;
        RecordingTarget target;
        target.states = {{app::cmd::kEditCopy, {false, false}},
                         {app::cmd::kViewSolid, {true, true}}};
        app::CommandDispatcher commands(
            &window, [&] { return std::vector<document::CommandTarget*>{&target}; });
        commands.UpdateAll();
        QVERIFY(!commands.Action(app::cmd::kFilePrint)->isEnabled());
        QVERIFY(!commands.Action(app::cmd::kEditCopy)->isEnabled());
        QVERIFY(!commands.Execute(app::cmd::kEditCopy));
        QVERIFY(!commands.Execute(app::cmd::kFilePrint));
        QVERIFY(target.executed.empty());
        QVERIFY(commands.Action(app::cmd::kViewSolid)->isChecked());
    }

    void UpdateRulesRunWhenTheEventLoopGoesIdle() {
        QMainWindow window;
        RecordingTarget target;
        target.states = {{app::cmd::kEditUndo, {false, false}}};
        app::CommandDispatcher commands(
            &window, [&] { return std::vector<document::CommandTarget*>{&target}; });
        QToolBar* toolBar = commands.BuildToolBar();
        window.addToolBar(toolBar);
        window.show();
        gui_test::RunIdleLoop();
        QVERIFY(!commands.Action(app::cmd::kEditUndo)->isEnabled());
        target.states[app::cmd::kEditUndo] = {true, false};
        target.states[app::cmd::kMerge] = {true, true};
        // No explicit update: the idle pass must pick the new states up.
        gui_test::RunIdleLoop();
        QVERIFY(commands.Action(app::cmd::kEditUndo)->isEnabled());
        auto* button =
            qobject_cast<QToolButton*>(toolBar->widgetForAction(commands.Action(app::cmd::kMerge)));
        QVERIFY(button != nullptr);
        QVERIFY(button->isEnabled());
        QVERIFY(button->isChecked());
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

    void MenuOpeningRunsTheUpdateRules() {
        QMainWindow window;
        RecordingTarget target;
        target.states = {{app::cmd::kViewWireframe, {true, false}}};
        app::CommandDispatcher commands(
            &window, [&] { return std::vector<document::CommandTarget*>{&target}; });
        const auto menus = commands.BuildMenus(app::CommandTable::MapMenus());
        QMenu* vista = menus.at(4);
        QCOMPARE(vista->title(), QString("Vi&sta"));
        commands.UpdateAll();
        QVERIFY(!commands.Action(app::cmd::kViewWireframe)->isChecked());
        target.states[app::cmd::kViewWireframe] = {true, true};
        emit vista->aboutToShow();
        QVERIFY(commands.Action(app::cmd::kViewWireframe)->isChecked());
    }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
