// The command table against what is built from it: the menus with and without a map, the
// prompts, the owners that answer, the history's names, the toolbar, the keys, the update rules
// and the check marks of the view's modes.
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <map>
#include <set>

#include "GuiMapEditor.h"
#include "app/CommandTable.h"
#include "app/ShellCommands.h"
#include "tools/EditNames.h"
#include "tools/ToolMode.h"

using namespace zandrel;
using app::CommandTable;
using document::CommandState;
namespace cmd = document::cmd;

namespace {

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
                QVERIFY2(CommandTable::Find(item.id) != nullptr, item.caption);
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
    // The menus and the toolbar are the table's. Each command is answered by the owner its row
    // names and by nobody else; with the map closed, the menus are the no-map ones and nothing
    // the views answer is enabled.
    void MenusToolbarAndOwnersFollowTheTable() {
        gui_test::GuiMapEditor editor;
        QVERIFY(editor.started);
        CompareWithTable(editor.frame().menuBar(), CommandTable::MapMenus());
        // The toolbar follows its layout, with an image of its own for every button.
        QToolBar* toolBar = editor.frame().ToolBar();
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
        QCOMPARE(ids, CommandTable::ToolbarLayout());
        QCOMPARE(toolBar->iconSize(), QSize(16, 15));
        QCOMPARE(images.size(), std::size_t(std::ranges::count_if(
                                    ids, [](int id) { return id != cmd::kSeparator; })));
        app::ShellCommands shell(editor.frame(), editor.app->Documents(),
                                 editor.app->RecentFiles());
        for (const app::CommandInfo& info : CommandTable::Commands()) {
            CommandState state;
            const QByteArray id = QByteArray::number(info.id);
            QVERIFY2(editor.active()->UpdateCommand(info.id, state) ==
                         (info.owner == app::CommandOwner::View),
                     id);
            QVERIFY2(shell.UpdateCommand(info.id, state) ==
                         (info.owner == app::CommandOwner::Application),
                     id);
            // The prompt is the status tip, then the tooltip after a line break.
            QAction* action = editor.commands().Action(info.id);
            if (info.prompt == nullptr) {
                QVERIFY2(action->statusTip().isEmpty(), id);
            } else if (QString::fromUtf8(info.prompt).contains('\n')) {
                QCOMPARE(action->statusTip() + "\n" + action->toolTip(),
                         QString::fromUtf8(info.prompt));
            }
        }

        QVERIFY(editor.Run(cmd::kFileClose));
        QTRY_VERIFY(editor.app->Documents().Documents().empty());
        QTRY_COMPARE(editor.frame().menuBar()->actions().size(),
                     qsizetype(CommandTable::NoMapMenus().size()));
        CompareWithTable(editor.frame().menuBar(), CommandTable::NoMapMenus());
        for (const app::CommandInfo& info : CommandTable::Commands()) {
            QVERIFY2(!editor.Enabled(info.id) || info.owner == app::CommandOwner::Application,
                     QByteArray::number(info.id));
        }
        for (const int id : {cmd::kFileSave, cmd::kFileExportImage, cmd::kFileImportHeightmap}) {
            QVERIFY(!editor.Enabled(id));
        }
        QVERIFY(editor.Enabled(cmd::kFileNew));
    }

    // The history names an edit after the item that made it: the caption without its mnemonic.
    // No key is bound twice, and none pastes.
    void HistoryNamesAndKeysAgreeWithTheMenus() {
        const std::map<int, std::string_view> names = {
            {cmd::kGoalArea, tools::kGoalName},
            {cmd::kStart, tools::kStartName},
            {cmd::kEnemies, tools::kEnemyName},
            {cmd::kEditCut, tools::kCutName},
            {cmd::kEditPaste, tools::kPasteName},
            {cmd::kMerge, tools::kMergeName},
            {cmd::kEditUndo, tools::kUndoName},
            {cmd::kFileImportHeightmap, tools::kImportHeightmapName},
            {cmd::kRaise, tools::ToolName(tools::TOOL_RAISE)},
            {cmd::kFlatten, tools::ToolName(tools::TOOL_FLATTEN)},
            {cmd::kLevel, tools::ToolName(tools::TOOL_LEVEL)},
            {cmd::kLandslide, tools::ToolName(tools::TOOL_LANDSLIDE)},
            {cmd::kTilt, tools::ToolName(tools::TOOL_TILT)},
            {cmd::kPyramid, tools::ToolName(tools::TOOL_PYRAMID)},
        };
        std::size_t found = 0;
        for (const app::MenuDefinition& menu : CommandTable::MapMenus()) {
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

        // No key is bound twice, and no key pastes: the paste item's CTRL+V is a caption only
        // (the main window's tests show Ctrl+V merging).
        std::set<QString> keys;
        for (const app::Accelerator& key : CommandTable::Accelerators()) {
            const QString text = QKeySequence(QString::fromLatin1(key.key)).toString();
            QVERIFY2(keys.insert(text).second, qPrintable("key used twice: " + text));
            QVERIFY2(CommandTable::Find(key.id) != nullptr && key.id != cmd::kEditPaste, key.key);
        }
    }

    // The views' rules reach the actions when the event loop goes idle and when a menu opens; a
    // disabled command does not run. Solid and wireframe are one choice, the tints another that the
    // checked one chosen again turns off; relief, grid and contours switch. A new view starts with
    // the modes last chosen.
    void ViewModeItemsFollowTheViewAndAreRemembered() {
        gui_test::GuiMapEditor editor;
        QVERIFY(editor.started);
        editor.commands().UpdateAll();
        QVERIFY(!editor.commands().Action(cmd::kFilePrint)->isEnabled());
        QVERIFY(!editor.Run(cmd::kFilePrint) && !editor.Run(cmd::kEditUndo));
        QAction* wireframe = editor.commands().Action(cmd::kViewWireframe);
        QVERIFY(!wireframe->isChecked());
        editor.view()->SetRenderMode(view3d::RenderMode::Wireframe);
        gui_test::RunIdleLoop();
        QVERIFY(wireframe->isChecked());
        editor.view()->SetRenderMode(view3d::RenderMode::Solid);
        emit editor.frame().menuBar()->actions().at(4)->menu()->aboutToShow();
        QVERIFY(!wireframe->isChecked());

        editor.view()->SetViewModes({});
        const std::vector<std::vector<int>> choices = {
            {cmd::kViewWireframe, cmd::kViewSolid},
            {cmd::kViewTintHeight, cmd::kViewTintGravity, cmd::kViewTintFriction}};
        for (const auto& choice : choices) {
            for (const int chosen : choice) {
                QVERIFY(editor.Run(chosen));
                for (const int other : choice) {
                    QVERIFY2(editor.Checked(other) == (other == chosen), QByteArray::number(other));
                }
            }
        }
        QVERIFY(editor.Run(cmd::kViewWireframe));
        for (const int toggled : {cmd::kViewRelief, cmd::kViewContours}) {
            QVERIFY(editor.Run(toggled));
        }
        const view3d::ViewModes chosen{true, false, true, view3d::TintMode::Friction};
        QVERIFY(editor.view()->Modes() == chosen);
        QVERIFY(view3d::CzandrelEditorView(nullptr).Modes() == chosen);
        QVERIFY(editor.Run(cmd::kViewTintFriction) && !editor.Checked(cmd::kViewTintFriction));
        // Checked items with a toolbar image show a plain check mark in the menu.
        editor.commands().UpdateAll();
        QVERIFY(wireframe->isChecked() && !wireframe->icon().isNull());
        QVERIFY(!wireframe->isIconVisibleInMenu());
        editor.view()->SetViewModes({});
    }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
