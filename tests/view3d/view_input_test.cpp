// The 3D view's mouse and key input and its commands, driven on a small shown view over a new
// map. The edit session's own rules are tested in tests/tools; these state what the view adds:
// the cell under the pointer, the buttons and keys held, its height in pixels, the other views
// told, the command states.
#include <QSignalSpy>
#include <QtTest>

#include "GuiMapEditor.h"
#include "ViewFixture.h"
#include "document/CommandIds.h"
#include "map/MapGrid.h"
#include "tools/ToolMode.h"

using zandrel::document::CzandrelEditorDoc;
using zandrel::gui_test::MouseSender;
using zandrel::gui_test::TopDownCamera;
using zandrel::view3d::ViewMouseInput;
namespace cmd = zandrel::document::cmd;
namespace tools = zandrel::tools;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr Qt::MouseButtons kBoth = Qt::LeftButton | Qt::RightButton;

// Every cell of the block x0..x1, z0..z1 at height base + x + 2z, so that no two cells agree.
void Bumps(zandrel::map::MapGrid& grid, int x0, int z0, int x1, int z1, double base) {
    for (int x = x0; x <= x1; ++x) {
        for (int z = z0; z <= z1; ++z) {
            grid.SetCellHeight(x, z, base + x + 2 * z);
        }
    }
}

}  // namespace

class ViewInputTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { zandrel::gui_test::PrepareApplication(); }

private slots:
    void init() {
        shown_.Open(kWidth, kHeight);
        view_ = shown_.view.get();
        doc_ = shown_.doc.get();
        mouse_ = MouseSender{view_};
    }

    void cleanup() { shown_.Close(); }

    // A click into the picture's own window reaches the view; it tells the other views, naming
    // itself as the sender. The drag's middle cell becomes the orbit focus. Before any pick has
    // hit a cell there is no anchor to stretch from; off the map the last cell hovered stays.
    void clickSelectsOneCellAndOnlyALeftDragStretchesFromIt() {
        const TopDownCamera corner(*view_, 3.0f, 3.0f);
        const QPoint off = corner.Over(-1.5f, -0.6f);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, off);
        QCOMPARE(view_->mouseInput().AnchorHit(), -1);
        mouse_.Move(Qt::LeftButton, corner.Cell(4, 4));
        QCOMPARE(Selection(), (std::array{25, 25, 25, 25}));
        mouse_.Release(Qt::LeftButton, Qt::NoButton, corner.Cell(4, 4));
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, corner.Cell(4, 4));
        mouse_.Move(Qt::LeftButton, off);
        QCOMPARE(view_->mouseInput().HoverHit(), 404);
        mouse_.Release(Qt::LeftButton, Qt::NoButton, off);

        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        QTest::mouseClick(view_->Surface(), Qt::LeftButton, {}, camera.Cell(6, 4));
        QCOMPARE(Selection(), (std::array{6, 4, 6, 4}));
        QSignalSpy told(doc_, &CzandrelEditorDoc::viewsNeedUpdate);
        mouse_.Click(camera.Cell(7, 3));
        QCOMPARE(Selection(), (std::array{7, 3, 7, 3}));
        QCOMPARE(told.count(), 1);
        QCOMPARE(told.at(0).at(0).value<QObject*>(), view_);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(7, 3));
        mouse_.Move(Qt::LeftButton, camera.Cell(4, 9));
        QCOMPARE(Selection(), (std::array{4, 3, 7, 9}));
        mouse_.Release(Qt::LeftButton, Qt::NoButton, camera.Cell(4, 9));
        QCOMPARE(view_->navigator().focusX, 5.5f);
        QCOMPARE(view_->navigator().focusZ, 6.5f);

        // Shift, Control, the middle or a side button held: no selection, but a redraw each.
        // Not drawn yet: the map still holds the old selection until the next frame.
        view_->selection().Set(1, 1, 2, 2);
        QSignalSpy updates(doc_, &CzandrelEditorDoc::viewsNeedUpdate);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(5, 5), Qt::ShiftModifier);
        mouse_.Move(Qt::LeftButton, camera.Cell(4, 9), Qt::ShiftModifier);
        mouse_.Move(Qt::LeftButton, camera.Cell(4, 8), Qt::ControlModifier);
        mouse_.Move(Qt::LeftButton | Qt::MiddleButton, camera.Cell(4, 7));
        mouse_.Move(Qt::LeftButton | Qt::BackButton, camera.Cell(3, 7));
        mouse_.Move(Qt::LeftButton | Qt::ForwardButton, camera.Cell(3, 6));
        QCOMPARE(Selection(), (std::array{1, 1, 2, 2}));
        QCOMPARE(doc_->mapGrid().selection.x1, 2);  // drawn
        QCOMPARE(updates.count(), 5);
        QVERIFY(!doc_->IsModified());
    }

    // The tool applies at the right press; the drag then moves by hundredths of the view's
    // height, and the whole gesture is one undo step.
    void rightPressWhileLeftHeldAppliesAtOnceThenDragsInHundredths() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(4, 4));
        mouse_.Move(Qt::LeftButton, camera.Cell(6, 6));
        Bumps(doc_->mapGrid(), 3, 3, 7, 7, 0.0);
        view_->toolState().toolMode = tools::TOOL_FLATTEN;
        const QPoint at = camera.Cell(6, 6);
        mouse_.Press(Qt::RightButton, kBoth, at);
        QCOMPARE(doc_->mapGrid().Cell(4, 6).SO, 15.0);
        QVERIFY(view_->mouseInput().ToolDrag());
        view_->toolState().toolMode = tools::TOOL_RAISE;
        mouse_.Move(kBoth, at - QPoint(0, kHeight / 10));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 25.0);
        mouse_.Release(Qt::RightButton, Qt::LeftButton, at);
        QVERIFY(!view_->mouseInput().ToolDrag());
        mouse_.Move(Qt::LeftButton, at - QPoint(0, kHeight / 5));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 25.0);
        QVERIFY(view_->ExecuteCommand(cmd::kEditUndo));
        QCOMPARE(doc_->mapGrid().Cell(4, 6).C, 16.0);
    }

    // A notch raises by one, whatever keys are held (with Alt the window system turns the angle
    // sideways); each selection is an undo step of its own; without a terrain tool nothing.
    void wheelRaisesTheSelectionByNotches() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        const QPoint at = camera.Cell(7, 3);
        mouse_.Wheel(120, at);
        view_->toolState().toolMode = tools::TOOL_PLACE_ENEMY;
        mouse_.Wheel(120, at);
        QVERIFY(!doc_->IsModified());
        view_->toolState().toolMode = tools::TOOL_RAISE;
        mouse_.Click(at);
        mouse_.Wheel(240, at, Qt::ShiftModifier);
        mouse_.Wheel(-120, at, Qt::AltModifier | Qt::ControlModifier);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 1.0);
        mouse_.Click(camera.Cell(4, 8));
        mouse_.Wheel(-240, camera.Cell(4, 8));
        QCOMPARE(doc_->mapGrid().Cell(4, 8).NO, -2.0);
        QVERIFY(view_->ExecuteCommand(cmd::kEditUndo));
        QCOMPARE(doc_->mapGrid().Cell(4, 8).NO, 0.0);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 1.0);
    }

    void rightDragOrbitsAndLeftPressedWhileRightHeldZooms() {
        const tools::OrbitState before = view_->navigator().orbitRequest;
        const QPoint at(100, 100);
        mouse_.Press(Qt::RightButton, Qt::RightButton, at);
        mouse_.Move(Qt::RightButton, at + QPoint(kWidth / 8, 0));
        QCOMPARE(view_->navigator().orbitRequest.yaw, before.yaw + 5.0 / 8);
        mouse_.Press(Qt::LeftButton, kBoth, at);
        QVERIFY(view_->mouseInput().ZoomDrag());
        mouse_.Move(kBoth, at - QPoint(0, kHeight / 10));
        QCOMPARE(view_->navigator().orbitRequest.radius, before.radius + 5.0);
        mouse_.Release(Qt::LeftButton, Qt::RightButton, at);
        QVERIFY(!view_->mouseInput().ZoomDrag());
        mouse_.Release(Qt::RightButton, Qt::NoButton, at);
        QCOMPARE(Selection(), (std::array{25, 25, 25, 25}));
        QVERIFY(!doc_->undoGrid().hasContent);
    }

    void toolDragInAViewWithoutHeightChangesNothing() {
        zandrel::view3d::CzandrelEditorView flat(doc_);
        flat.resize(kWidth, 0);
        flat.toolState().toolMode = tools::TOOL_RAISE;
        const std::uint32_t both = ViewMouseInput::kLeftButton | ViewMouseInput::kRightButton;
        flat.mouseInput().OnRButtonDown(both, QPoint(10, 10));
        QVERIFY(flat.mouseInput().ToolDrag());
        flat.mouseInput().OnMouseMove(both, QPoint(10, 0));
        QCOMPARE(doc_->mapGrid().Cell(25, 25).C, 0.0);
    }

    // A fast brush drag paints the cells between its few mouse positions in the slot the
    // source gives; the other views are told once, at the release. Escape turns the brush off.
    void brushStrokeFillsBetweenMovesAndIsOneChange() {
        const TopDownCamera camera(*view_, 4.0f, 3.0f);
        view_->SetBrushSlotSource([] { return 2; });
        QVERIFY(view_->ExecuteCommand(cmd::kBrushTile));
        QSignalSpy told(doc_, &CzandrelEditorDoc::viewsNeedUpdate);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(1, 1));
        mouse_.Move(Qt::LeftButton, camera.Cell(6, 1));
        mouse_.Move(Qt::LeftButton, camera.Cell(6, 4));
        QCOMPARE(told.count(), 0);
        mouse_.Release(Qt::LeftButton, Qt::NoButton, camera.Cell(6, 4));
        QCOMPARE(told.count(), 1);
        QVERIFY(doc_->IsModified());
        QCOMPARE(doc_->mapGrid().Cell(4, 1).typet, 2);
        QCOMPARE(Selection(), (std::array{25, 25, 25, 25}));
        QTest::keyClick(view_, Qt::Key_Escape);
        mouse_.Click(camera.Cell(2, 2));
        QCOMPARE(Selection(), (std::array{2, 2, 2, 2}));
        QCOMPARE(doc_->mapGrid().Cell(2, 2).typet, 0);
    }

    // A turns the line of sight by +0.1 radian, from +z toward +x; S turns it back. Keys reach
    // the picture's own window first, which hands them to the view.
    void keysATurnLeftAndSTurnsBack() {
        const auto before = view_->navigator().camera;
        QTest::keyClick(view_->Surface(), Qt::Key_A);
        auto expected = before;
        expected.RotateView(0.1f, 0.0f, 1.0f, 0.0f);
        QCOMPARE(view_->navigator().camera.target, expected.target);
        QCOMPARE(view_->navigator().camera.eye, before.eye);
        QTest::keyClick(view_, Qt::Key_S);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(std::abs(view_->navigator().camera.target[i] - before.target[i]) < 1e-3f);
        }
    }

    // One tool at a time is checked, a brush included; tilt wants a rectangle, pyramid a square.
    // Level and landslide apply when chosen.
    void toolCommandsCheckTheirToolAndApplyWhenChosen() {
        const int tools[] = {cmd::kBrushWall, cmd::kRaise, cmd::kFlatten, cmd::kLevel,
                             cmd::kLandslide, cmd::kTilt,  cmd::kPyramid};
        for (const int id : tools) {
            QVERIFY(view_->ExecuteCommand(id));
            for (const int other : tools) {
                QCOMPARE(State(other).checked, other == id);
            }
        }
        QVERIFY(!State(cmd::kTilt).enabled && State(cmd::kPyramid).enabled);
        view_->selection().Set(3, 3, 4, 5);
        QVERIFY(State(cmd::kTilt).enabled && !State(cmd::kPyramid).enabled);
        // On a flat block levelling and welding change nothing, but each is an undo step.
        for (const int id : {cmd::kLevel, cmd::kLandslide}) {
            view_->selection().undoSaved = false;
            QVERIFY(view_->ExecuteCommand(id));
            QVERIFY(view_->selection().undoSaved);
            QVERIFY(!doc_->IsModified());
        }
    }

    // The area goal toggles the selection last drawn, start and enemy placement take the next
    // click's cell, then the tool chosen before comes back.
    void goalStartAndEnemyCommands() {
        view_->selection().Set(4, 5, 5, 6);
        view_->RedrawNow();
        view_->selection().Set(9, 9, 9, 9);
        QVERIFY(view_->ExecuteCommand(cmd::kGoalArea));
        QCOMPARE(doc_->mapGrid().Cell(5, 6).goal, 1);
        QCOMPARE(doc_->mapGrid().Cell(9, 9).goal, 0);
        const TopDownCamera camera(*view_, 12.5f, 40.5f);
        QVERIFY(view_->ExecuteCommand(cmd::kRaise));
        QVERIFY(view_->ExecuteCommand(cmd::kStart));
        QVERIFY(State(cmd::kStart).checked && !State(cmd::kRaise).checked);
        mouse_.Click(camera.Cell(12, 40));
        QCOMPARE(doc_->mapGrid().start.x0, 12);
        QCOMPARE(doc_->mapGrid().start.z1, 40);
        QVERIFY(State(cmd::kRaise).checked);
        QVERIFY(view_->ExecuteCommand(cmd::kEnemies));
        QVERIFY(State(cmd::kEnemies).checked);
        mouse_.Click(camera.Cell(11, 41));
        QCOMPARE(doc_->mapGrid().enemies[0].x0, 11);
        QCOMPARE(doc_->mapGrid().enemies[0].z0, 41);
    }

    // Cut leaves the shape in the clipboard and a flat block; paste, merge and the clipboard's
    // turns wait for a clipboard with content, undo for an edit. Pasted at the last x, the turned
    // block is clipped.
    void cutTurnAndPasteThroughTheClipboard() {
        const auto clipboard = std::make_unique<zandrel::map::MapGrid>();
        doc_->SetClipboard(clipboard.get());
        const int afterCut[] = {cmd::kEditPaste,      cmd::kMerge,          cmd::kRotateClipboard,
                                cmd::kFlipClipboardX, cmd::kFlipClipboardZ, cmd::kEditUndo};
        for (const int id : afterCut) {
            QVERIFY(!State(id).enabled);
        }
        QVERIFY(State(cmd::kEditCut).enabled && State(cmd::kEditCopy).enabled);
        Bumps(doc_->mapGrid(), 2, 2, 3, 4, 0.5);
        view_->selection().Set(2, 2, 3, 4);
        QVERIFY(view_->ExecuteCommand(cmd::kEditCut));
        QCOMPARE(doc_->mapGrid().Cell(3, 4).C, 6.5);
        for (const int id : afterCut) {
            QVERIFY(State(id).enabled);
        }
        QVERIFY(view_->ExecuteCommand(cmd::kEditUndo));
        QCOMPARE(doc_->mapGrid().Cell(3, 4).C, 11.5);
        QVERIFY(!State(cmd::kEditUndo).enabled);
        QVERIFY(view_->ExecuteCommand(cmd::kRotateClipboard));
        QCOMPARE(clipboard->SizeX, 3);
        const double corner = clipboard->Cell(2, 1).C;
        QVERIFY(view_->ExecuteCommand(cmd::kFlipClipboardX));
        QVERIFY(view_->ExecuteCommand(cmd::kFlipClipboardZ));
        QCOMPARE(clipboard->Cell(0, 0).C, corner);
        view_->selection().Set(48, 3, 48, 3);
        QVERIFY(view_->ExecuteCommand(cmd::kEditPaste));
        QCOMPARE(Selection(), (std::array{48, 3, 49, 4}));
        doc_->SetModified(false);
        QVERIFY(view_->ExecuteCommand(cmd::kMerge));
        QVERIFY(doc_->IsModified());
    }

private:
    std::array<int, 4> Selection() const {
        const auto& s = view_->selection();
        return {s.x0, s.z0, s.x1, s.z1};
    }

    zandrel::document::CommandState State(int id) {
        zandrel::document::CommandState state{false, true};
        if (!view_->UpdateCommand(id, state)) {
            qWarning("command %d not answered", id);
        }
        return state;
    }

    zandrel::gui_test::ViewOnNewMap shown_;
    zandrel::view3d::CzandrelEditorView* view_ = nullptr;
    CzandrelEditorDoc* doc_ = nullptr;
    MouseSender mouse_{nullptr};
};

QTEST_MAIN(ViewInputTest)
#include "view_input_test.moc"
