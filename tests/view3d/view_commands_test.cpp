// The 3D view's tool, placement and edit commands: alone on a small view, and through the
// editor's menus and keys for the clipboard shared between maps.
#include <QtTest>
#include <memory>

#include "EventLoop.h"
#include "FakePrompts.h"
#include "ViewInput.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CzandrelEditorApp.h"
#include "app/EditorSurfaceFormat.h"
#include "app/MapSizeDialog.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "map/MapGrid.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

using namespace zandrel;
using gui_test::MouseSender;
using gui_test::TopDownCamera;
using view3d::CzandrelEditorView;
namespace cmd = document::cmd;

namespace {

constexpr int kToolIds[] = {cmd::kRaise,     cmd::kFlatten, cmd::kLevel,
                            cmd::kLandslide, cmd::kTilt,    cmd::kPyramid};

// Every cell of the block x0..x1, z0..z1 at height base + x + 2z, so no two cells agree.
void Bumps(map::MapGrid& grid, int x0, int z0, int x1, int z1, double base) {
    for (int x = x0; x <= x1; ++x) {
        for (int z = z0; z <= z1; ++z) {
            grid.SetCellHeight(x, z, base + x + 2 * z);
        }
    }
}

}  // namespace

class ViewCommandsTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        app::UseEditorSurfaceFormat();
        CzandrelEditorView::PrepareApplication();
    }

private slots:
    void init() {
        doc_ = std::make_unique<document::CzandrelEditorDoc>();
        QVERIFY(doc_->OnNewDocument());
        clipboard_ = std::make_unique<map::MapGrid>();
        doc_->SetClipboard(clipboard_.get());
        view_ = std::make_unique<CzandrelEditorView>(doc_.get());
        view_->resize(240, 180);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }

    void cleanup() {
        view_.reset();
        doc_.reset();
        clipboard_.reset();
    }

    void toolCommandsCheckTheirToolAndTiltAndPyramidFollowTheShape() {
        for (const int id : kToolIds) {
            QVERIFY(view_->ExecuteCommand(id));
            for (const int other : kToolIds) {
                QCOMPARE(State(other).checked, other == id);
            }
        }
        view_->selection().Set(3, 3, 3, 3);
        QVERIFY(!State(cmd::kTilt).enabled);
        QVERIFY(State(cmd::kPyramid).enabled);
        view_->selection().Set(3, 3, 4, 5);
        QVERIFY(State(cmd::kTilt).enabled);
        QVERIFY(!State(cmd::kPyramid).enabled);
        for (const int id : {cmd::kRaise, cmd::kFlatten, cmd::kLevel, cmd::kLandslide}) {
            QVERIFY(State(id).enabled);
        }
    }

    void flattenLevelAndLandslideApplyOnceWhenChosen() {
        view_->selection().Set(4, 4, 6, 6);
        Bumps(doc_->mapGrid(), 4, 4, 6, 6, 0.0);
        for (const int id : {cmd::kRaise, cmd::kTilt, cmd::kPyramid}) {
            QVERIFY(view_->ExecuteCommand(id));
        }
        QCOMPARE(doc_->mapGrid().Cell(4, 4).C, 12.0);
        QVERIFY(!doc_->IsModified());
        QVERIFY(!State(cmd::kEditUndo).enabled);

        QVERIFY(view_->ExecuteCommand(cmd::kFlatten));
        QCOMPARE(doc_->mapGrid().Cell(4, 4).C, 15.0);
        QCOMPARE(doc_->mapGrid().Cell(6, 6).NE, 15.0);
        QVERIFY(doc_->IsModified());
        QVERIFY(State(cmd::kEditUndo).enabled);

        // An application on a selection without its undo step takes one; on the block just
        // flattened, levelling and welding change nothing, so the map stays unmodified.
        for (const int id : {cmd::kLevel, cmd::kLandslide}) {
            view_->selection().undoSaved = false;
            doc_->SetModified(false);
            QVERIFY(view_->ExecuteCommand(id));
            QVERIFY(view_->selection().undoSaved);
            QVERIFY(!doc_->IsModified());
        }
    }

    void areaGoalTogglesTheDrawnSelection() {
        QCOMPARE(State(cmd::kGoalArea).enabled, true);
        QCOMPARE(State(cmd::kGoalArea).checked, false);
        doc_->mapGrid().Cell(5, 6).goal = 2;
        view_->selection().Set(4, 5, 5, 6);
        view_->RedrawNow();
        QVERIFY(view_->ExecuteCommand(cmd::kGoalArea));
        QCOMPARE(doc_->mapGrid().Cell(4, 5).goal, 1);
        QCOMPARE(doc_->mapGrid().Cell(5, 6).goal, 0);
        QCOMPARE(doc_->mapGrid().Cell(6, 6).goal, 0);
        QVERIFY(doc_->IsModified());
        QVERIFY(view_->ExecuteCommand(cmd::kGoalArea));
        QCOMPARE(doc_->mapGrid().Cell(4, 5).goal, 0);
        QCOMPARE(doc_->mapGrid().Cell(5, 6).goal, 1);
        QVERIFY(!doc_->undoGrid().hasContent);
    }

    void startAndEnemyArePlacedByTheNextClick() {
        const TopDownCamera camera(*view_, 12.5f, 40.5f);
        const MouseSender mouse{view_.get()};
        QVERIFY(view_->ExecuteCommand(cmd::kRaise));
        QVERIFY(view_->ExecuteCommand(cmd::kStart));
        QVERIFY(State(cmd::kStart).checked);
        QVERIFY(!State(cmd::kRaise).checked);
        QVERIFY(!doc_->IsModified());
        mouse.Click(camera.Cell(12, 40));
        QCOMPARE(doc_->mapGrid().start.x0, 12);
        QCOMPARE(doc_->mapGrid().start.z1, 40);
        QVERIFY(State(cmd::kRaise).checked);
        QVERIFY(doc_->IsModified());

        // Chosen twice, enemy placement is given up without placing.
        QVERIFY(view_->ExecuteCommand(cmd::kEnemies));
        QVERIFY(State(cmd::kEnemies).checked);
        QVERIFY(view_->ExecuteCommand(cmd::kEnemies));
        QVERIFY(State(cmd::kRaise).checked);
        mouse.Click(camera.Cell(11, 39));
        QCOMPARE(doc_->mapGrid().enemies[0].x0, -1);

        // Start chosen while enemy placement is current returns to it: one click places both.
        QVERIFY(view_->ExecuteCommand(cmd::kEnemies));
        QVERIFY(view_->ExecuteCommand(cmd::kStart));
        mouse.Click(camera.Cell(13, 41));
        QCOMPARE(doc_->mapGrid().start.x0, 13);
        QCOMPARE(doc_->mapGrid().start.z0, 41);
        QCOMPARE(doc_->mapGrid().enemies[0].x0, 13);
        QCOMPARE(doc_->mapGrid().enemies[0].z0, 41);
        QVERIFY(State(cmd::kEnemies).checked);
        // The tool to return to is enemy placement itself, so it stays current.
        mouse.Click(camera.Cell(11, 41));
        QCOMPARE(doc_->mapGrid().enemies[1].x0, 11);
        QVERIFY(State(cmd::kEnemies).checked);
    }

    void cutLeavesTheShapeInTheClipboardAndAFlatBlock() {
        QVERIFY(!State(cmd::kEditPaste).enabled);
        QVERIFY(!State(cmd::kMerge).enabled);
        QVERIFY(State(cmd::kEditCut).enabled);
        QVERIFY(State(cmd::kEditCopy).enabled);
        Bumps(doc_->mapGrid(), 2, 2, 3, 4, 0.5);
        view_->selection().Set(2, 2, 3, 4);
        QVERIFY(view_->ExecuteCommand(cmd::kEditCut));
        QVERIFY(clipboard_->hasContent);
        QCOMPARE(clipboard_->Cell(1, 2).C, 5.5);  // 0.5 + 3 + 8, less the first cell's whole 6
        QCOMPARE(doc_->mapGrid().Cell(3, 4).C, 6.5);
        QVERIFY(doc_->IsModified());
        QVERIFY(State(cmd::kEditPaste).enabled);
        QVERIFY(State(cmd::kMerge).enabled);

        doc_->SetModified(false);
        QVERIFY(view_->ExecuteCommand(cmd::kEditUndo));
        QCOMPARE(doc_->mapGrid().Cell(3, 4).C, 11.5);
        QVERIFY(doc_->IsModified());
        QVERIFY(!State(cmd::kEditUndo).enabled);
    }

    // The whole editor: two maps share one clipboard; the paste item pastes, Ctrl+V merges.
    void copyInOneMapPastesIntoAnotherAndCtrlVMerges() {
        view_.reset();
        auto prompts = std::make_unique<gui_test::FakePrompts>();
        prompts->saveAnswer = app::SaveAnswer::Discard;
        app::CzandrelEditorApp editor(std::move(prompts));
        QVERIFY(editor.InitInstance({}));
        editor.MainFrame().resize(640, 480);
        app::CommandDispatcher& commands = editor.MainFrame().Commands();
        QVERIFY(commands.Execute(cmd::kFileNew));
        const auto frames = editor.MainFrame().Frames();
        QCOMPARE(frames.size(), std::size_t{2});
        document::CzandrelEditorDoc* source = frames[0]->GetDocument();
        document::CzandrelEditorDoc* target = frames[1]->GetDocument();
        QCOMPARE(editor.MainFrame().ActiveFrame(), frames[1]);
        QVERIFY(!commands.Query(cmd::kEditPaste).enabled);
        QVERIFY(!commands.Query(cmd::kMerge).enabled);

        Bumps(source->mapGrid(), 10, 10, 12, 12, 0.25);
        frames[0]->View()->selection().Set(10, 10, 12, 12);
        QVERIFY(frames[0]->View()->ExecuteCommand(cmd::kEditCopy));
        QVERIFY(!source->IsModified());
        QVERIFY(commands.Query(cmd::kEditPaste).enabled);

        target->mapGrid().SetCellHeight(48, 3, 5.9);
        frames[1]->View()->selection().Set(48, 3, 48, 3);
        QVERIFY(!commands.Query(cmd::kEditUndo).enabled);
        QVERIFY(commands.Execute(cmd::kEditPaste));
        // Clipped at the last x; relative heights on the target cell's whole level, 5.
        QCOMPARE(target->mapGrid().Cell(48, 3).C, 5.25);
        QCOMPARE(target->mapGrid().Cell(49, 5).C, 5.0 + 5.25);
        QCOMPARE(frames[1]->View()->selection().x1, 49);
        QCOMPARE(frames[1]->View()->selection().z1, 5);
        QVERIFY(target->IsModified());
        QVERIFY(commands.Query(cmd::kEditUndo).enabled);

        editor.MainFrame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.MainFrame()));
        frames[1]->View()->selection().Set(20, 20, 20, 20);
        target->SetModified(false);
        QTest::keyClick(&editor.MainFrame(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(target->mapGrid().Cell(20, 20).C, 0.25);
        QCOMPARE(target->mapGrid().Cell(21, 22).SO, 5.25);
        QCOMPARE(frames[1]->View()->selection().x1, 20);
        QVERIFY(target->IsModified());

        QVERIFY(commands.Execute(cmd::kEditUndo));
        QCOMPARE(target->mapGrid().Cell(20, 20).C, 0.0);
        QCOMPARE(target->mapGrid().Cell(48, 3).C, 5.25);
        QVERIFY(!commands.Query(cmd::kEditUndo).enabled);
        gui_test::RunIdleLoop();
    }

    // The new items of Modifica and F&unzioni through the editor's commands and keys.
    void clipboardTurnsMapSizeAndBrushesThroughTheMenus() {
        view_.reset();
        auto owned = std::make_unique<gui_test::FakePrompts>();
        gui_test::FakePrompts* prompts = owned.get();
        prompts->saveAnswer = app::SaveAnswer::Discard;
        app::CzandrelEditorApp editor(std::move(owned));
        QVERIFY(editor.InitInstance({}));
        app::CommandDispatcher& commands = editor.MainFrame().Commands();
        app::CChildFrame* frame = editor.MainFrame().ActiveFrame();
        document::CzandrelEditorDoc* doc = frame->GetDocument();
        QVERIFY(!commands.Query(cmd::kRotateClipboard).enabled);
        QVERIFY(!commands.Query(cmd::kFlipClipboardX).enabled);
        Bumps(doc->mapGrid(), 0, 0, 2, 0, 0.0);
        frame->View()->selection().Set(0, 0, 2, 0);
        QVERIFY(commands.Execute(cmd::kEditCopy));
        const map::MapGrid& clipboard = *doc->clipboard();
        editor.MainFrame().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&editor.MainFrame()));
        QTest::keyClick(&editor.MainFrame(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(clipboard.SizeX, 1);
        QCOMPARE(clipboard.Cell(0, 2).C, 2.0);
        QVERIFY(commands.Execute(cmd::kFlipClipboardZ));
        QCOMPARE(clipboard.Cell(0, 0).C, 2.0);
        QVERIFY(!doc->IsModified());

        // "Dimensioni mappa...": one edit, undone whole.
        doc->mapGrid().Cell(49, 49).typet = 2;
        prompts->mapSize = app::MapSizeChoice{20, 10, tools::ResizeAnchor::SouthWest};
        QVERIFY(commands.Execute(cmd::kMapSize));
        QCOMPARE(doc->mapGrid().SizeX, 20);
        QCOMPARE(doc->mapGrid().SizeZ, 10);
        QCOMPARE(doc->mapGrid().Cell(19, 9).typet, 2);
        QVERIFY(doc->IsModified());
        QVERIFY(commands.Execute(cmd::kEditUndo));
        QCOMPARE(doc->mapGrid().SizeX, 50);
        QCOMPARE(doc->mapGrid().Cell(49, 49).typet, 2);
        QCOMPARE(doc->mapGrid().Cell(2, 0).C, 2.0);

        // The brushes are check items; a tool turns them off.
        QVERIFY(commands.Execute(cmd::kBrushWall));
        QVERIFY(commands.Query(cmd::kBrushWall).checked &&
                !commands.Query(cmd::kBrushTile).checked);
        QVERIFY(commands.Execute(cmd::kRaise));
        QVERIFY(!commands.Query(cmd::kBrushWall).checked);
        gui_test::RunIdleLoop();
    }

private:
    document::CommandState State(int id) {
        document::CommandState state{false, true};
        if (!view_->UpdateCommand(id, state)) {
            qWarning("command %d not answered", id);
        }
        return state;
    }

    // Heap-held: a grid is a few hundred kilobytes.
    std::unique_ptr<map::MapGrid> clipboard_;
    std::unique_ptr<document::CzandrelEditorDoc> doc_;
    std::unique_ptr<CzandrelEditorView> view_;
};

QTEST_MAIN(ViewCommandsTest)
#include "view_commands_test.moc"
