// The 3D view's mouse handling, driven by mouse messages on a small shown view over a new map.
#include <QSignalSpy>
#include <QtTest>
#include <cmath>
#include <memory>

#include "ViewInput.h"
#include "app/EditorSurfaceFormat.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "map/MapGrid.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

using zandrel::document::CzandrelEditorDoc;
using zandrel::gui_test::MouseSender;
using zandrel::gui_test::TopDownCamera;
using zandrel::view3d::CzandrelEditorView;
using zandrel::view3d::ViewMouseInput;
namespace cmd = zandrel::document::cmd;
namespace tools = zandrel::tools;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr Qt::MouseButtons kBoth = Qt::LeftButton | Qt::RightButton;

}  // namespace

class ViewInputTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        zandrel::app::UseEditorSurfaceFormat();
        CzandrelEditorView::PrepareApplication();
    }

private slots:
    void init() {
        doc_ = std::make_unique<CzandrelEditorDoc>();
        QVERIFY(doc_->OnNewDocument());
        view_ = std::make_unique<CzandrelEditorView>(doc_.get());
        view_->resize(kWidth, kHeight);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
        mouse_ = MouseSender{view_.get()};
    }

    void cleanup() {
        view_.reset();
        doc_.reset();
    }

    void clickSelectsOneCellAndDragStretchesFromIt() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        view_->selection().undoSaved = true;
        mouse_.Click(camera.Cell(7, 3));
        QCOMPARE(Selection(), (std::array{7, 3, 7, 3}));
        QVERIFY(!view_->selection().undoSaved);

        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(7, 3));
        mouse_.Move(Qt::LeftButton, camera.Cell(5, 5));
        QCOMPARE(Selection(), (std::array{5, 3, 7, 5}));
        mouse_.Move(Qt::LeftButton, camera.Cell(4, 9));
        QCOMPARE(Selection(), (std::array{4, 3, 7, 9}));
        mouse_.Release(Qt::LeftButton, Qt::NoButton, camera.Cell(4, 9));
        // The orbit focus: the centre of the middle cell (5, 6).
        QCOMPARE(view_->navigator().focusX, 5.5f);
        QCOMPARE(view_->navigator().focusZ, 6.5f);
    }

    void dragOffTheMapKeepsTheLastRectangle() {
        const TopDownCamera camera(*view_, 3.0f, 3.0f);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(4, 4));
        mouse_.Move(Qt::LeftButton, camera.Cell(1, 2));
        QCOMPARE(Selection(), (std::array{1, 2, 4, 4}));
        mouse_.Move(Qt::LeftButton, camera.Over(-1.5f, -0.6f));
        QCOMPARE(Selection(), (std::array{1, 2, 4, 4}));
        QCOMPARE(view_->mouseInput().HoverHit(), 404);
        // A press that misses keeps the selection too.
        mouse_.Release(Qt::LeftButton, Qt::NoButton, camera.Over(-1.5f, -0.6f));
        mouse_.Click(camera.Over(-1.5f, -0.6f));
        QCOMPARE(Selection(), (std::array{1, 2, 4, 4}));
    }

    // Before any pick has hit a cell there is no anchor to stretch from.
    void dragFromOffTheMapIntoItBeforeAnyHitKeepsTheSelection() {
        const TopDownCamera camera(*view_, 3.0f, 3.0f);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Over(-1.5f, -0.6f));
        QCOMPARE(view_->mouseInput().AnchorHit(), -1);
        mouse_.Move(Qt::LeftButton, camera.Cell(2, 2));
        QCOMPARE(Selection(), (std::array{25, 25, 25, 25}));
        mouse_.Release(Qt::LeftButton, Qt::NoButton, camera.Cell(2, 2));
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(4, 4));
        mouse_.Move(Qt::LeftButton, camera.Cell(2, 2));
        QCOMPARE(Selection(), (std::array{2, 2, 4, 4}));
    }

    void dragWithAnotherKeyOrButtonHeldSelectsNothingButRedraws() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        mouse_.Click(camera.Cell(7, 3));
        // Not drawn yet: the map still holds the old selection until the next frame.
        view_->selection().Set(1, 1, 2, 2);
        QSignalSpy updates(doc_.get(), &CzandrelEditorDoc::viewsNeedUpdate);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(5, 5), Qt::ShiftModifier);
        mouse_.Move(Qt::LeftButton, camera.Cell(4, 9), Qt::ShiftModifier);
        mouse_.Move(Qt::LeftButton, camera.Cell(4, 8), Qt::ControlModifier);
        mouse_.Move(Qt::LeftButton | Qt::MiddleButton, camera.Cell(4, 7));
        QCOMPARE(Selection(), (std::array{1, 1, 2, 2}));
        QCOMPARE(doc_->mapGrid().selection.x1, 2);  // drawn
        QCOMPARE(updates.count(), 3);
        QVERIFY(!doc_->IsModified());
    }

    void rightPressWhileLeftHeldAppliesAtOnceThenDragsInHundredths() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(4, 4));
        mouse_.Move(Qt::LeftButton, camera.Cell(6, 6));
        for (int x = 3; x <= 7; ++x) {
            for (int z = 3; z <= 7; ++z) {
                doc_->mapGrid().SetCellHeight(x, z, x + 2 * z);
            }
        }
        view_->toolState().toolMode = tools::TOOL_FLATTEN;
        const QPoint at = camera.Cell(6, 6);
        mouse_.Press(Qt::RightButton, kBoth, at);
        // Flat at the NE corner of the middle cell (5, 5).
        for (int x = 4; x <= 6; ++x) {
            for (int z = 4; z <= 6; ++z) {
                QCOMPARE(doc_->mapGrid().Cell(x, z).NE, 15.0);
                QCOMPARE(doc_->mapGrid().Cell(x, z).C, 15.0);
            }
        }
        QCOMPARE(doc_->mapGrid().Cell(7, 6).C, 19.0);
        QVERIFY(view_->mouseInput().ToolDrag());
        QVERIFY(doc_->IsModified());
        QVERIFY(doc_->undoGrid().hasContent);

        // Up by a tenth of the height, down by a twentieth, then less than a hundredth.
        view_->toolState().toolMode = tools::TOOL_RAISE;
        mouse_.Move(kBoth, at - QPoint(0, kHeight / 10));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 25.0);
        mouse_.Move(kBoth, at - QPoint(0, kHeight / 20));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 20.0);
        mouse_.Move(kBoth, at - QPoint(0, kHeight / 20 - 2));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 20.0);
        mouse_.Release(Qt::RightButton, Qt::LeftButton, at);
        QVERIFY(!view_->mouseInput().ToolDrag());
        mouse_.Move(Qt::LeftButton, at - QPoint(0, kHeight / 10));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 20.0);

        // All of it was one edit of one selection: undo goes back before the flattening.
        QVERIFY(view_->ExecuteCommand(cmd::kEditUndo));
        QCOMPARE(doc_->mapGrid().Cell(5, 5).C, 15.0);
        QCOMPARE(doc_->mapGrid().Cell(4, 6).C, 16.0);
    }

    void wheelRaisesByWholeStepsAndEachSelectionIsOneUndoStep() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        view_->toolState().toolMode = tools::TOOL_RAISE;
        mouse_.Click(camera.Cell(7, 3));
        const QPoint at = camera.Cell(7, 3);
        mouse_.Wheel(120, at);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 1.0);
        mouse_.Wheel(240, at);
        mouse_.Wheel(-120, at);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 2.0);
        mouse_.Wheel(99, at);
        mouse_.Wheel(-99, at);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 2.0);
        // Keys held do not matter to the wheel.
        mouse_.Wheel(120, at, Qt::ShiftModifier);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 3.0);
        mouse_.Wheel(120, at, Qt::AltModifier);
        mouse_.Wheel(-120, at, Qt::AltModifier | Qt::ControlModifier);
        mouse_.Wheel(120, at, Qt::AltModifier);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 4.0);
        QVERIFY(doc_->IsModified());

        mouse_.Click(camera.Cell(4, 8));
        mouse_.Wheel(-240, camera.Cell(4, 8));
        QCOMPARE(doc_->mapGrid().Cell(4, 8).NO, -2.0);
        QVERIFY(view_->ExecuteCommand(cmd::kEditUndo));
        QCOMPARE(doc_->mapGrid().Cell(4, 8).NO, 0.0);
        QCOMPARE(doc_->mapGrid().Cell(7, 3).C, 4.0);
    }

    void wheelBelowOneStepStillStartsTheUndoStep() {
        view_->toolState().toolMode = tools::TOOL_RAISE;
        QVERIFY(!doc_->undoGrid().hasContent);
        mouse_.Wheel(60, QPoint(kWidth / 2, kHeight / 2));
        QVERIFY(doc_->undoGrid().hasContent);
        QVERIFY(view_->selection().undoSaved);
    }

    void wheelWithoutATerrainToolLeavesTheMapUnmodified() {
        QCOMPARE(view_->toolState().toolMode, tools::TOOL_NONE);
        mouse_.Wheel(120, QPoint(kWidth / 2, kHeight / 2));
        view_->toolState().toolMode = tools::TOOL_PLACE_ENEMY;
        mouse_.Wheel(-120, QPoint(kWidth / 2, kHeight / 2));
        QVERIFY(!doc_->IsModified());
        QCOMPARE(doc_->mapGrid().Cell(25, 25).C, 0.0);
    }

    void rightDragOrbitsAndLeftPressedWhileRightHeldZooms() {
        const TopDownCamera camera(*view_, 6.0f, 6.5f);
        mouse_.Click(camera.Cell(7, 3));
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
        QCOMPARE(Selection(), (std::array{7, 3, 7, 3}));
        QVERIFY(!doc_->undoGrid().hasContent);
    }

    void toolDragInAViewWithoutHeightChangesNothing() {
        CzandrelEditorView flat(doc_.get());
        flat.resize(kWidth, 0);
        flat.toolState().toolMode = tools::TOOL_RAISE;
        const std::uint32_t both = ViewMouseInput::kLeftButton | ViewMouseInput::kRightButton;
        flat.mouseInput().OnRButtonDown(both, QPoint(10, 10));
        QVERIFY(flat.mouseInput().ToolDrag());
        flat.mouseInput().OnMouseMove(both, QPoint(10, 0));
        QCOMPARE(doc_->mapGrid().Cell(25, 25).C, 0.0);
    }

    void keyStateWordHasTheWindowMessageBits() {
        QCOMPARE(ViewMouseInput::KeyState(Qt::LeftButton, {}), 1u);
        QCOMPARE(ViewMouseInput::KeyState(kBoth, {}), 3u);
        QCOMPARE(ViewMouseInput::KeyState(Qt::LeftButton, Qt::ShiftModifier), 5u);
        QCOMPARE(ViewMouseInput::KeyState(Qt::RightButton, Qt::ControlModifier), 10u);
        QCOMPARE(ViewMouseInput::KeyState(Qt::MiddleButton, Qt::AltModifier), 16u);
        // The side buttons count as held buttons too, so a left drag with one held selects nothing.
        QCOMPARE(ViewMouseInput::KeyState(Qt::LeftButton | Qt::BackButton, {}), 33u);
        QCOMPARE(ViewMouseInput::KeyState(Qt::ForwardButton, {}), 64u);
    }

    // A fast brush drag paints every cell between its few mouse positions; the stroke is one
    // change: the map is marked modified and the other views are told once, at the release.
    void brushStrokeFillsBetweenMovesAndIsOneChange() {
        const TopDownCamera camera(*view_, 4.0f, 3.0f);
        view_->SetBrushSlotSource([] { return 2; });
        QVERIFY(view_->ExecuteCommand(cmd::kBrushTile));
        view_->selection().Set(0, 0, 0, 0);
        QSignalSpy told(doc_.get(), &CzandrelEditorDoc::viewsNeedUpdate);
        QSignalSpy modified(doc_.get(), &CzandrelEditorDoc::modifiedChanged);
        mouse_.Press(Qt::LeftButton, Qt::LeftButton, camera.Cell(1, 1));
        mouse_.Move(Qt::LeftButton, camera.Cell(6, 1));
        mouse_.Move(Qt::LeftButton, camera.Cell(6, 4));
        QCOMPARE(told.count(), 0);
        QCOMPARE(modified.count(), 0);
        mouse_.Release(Qt::LeftButton, Qt::NoButton, camera.Cell(6, 4));
        QCOMPARE(told.count(), 1);
        QCOMPARE(modified.count(), 1);
        for (const auto& [x, z] : {std::pair{1, 1}, {4, 1}, {6, 3}}) {
            QCOMPARE(doc_->mapGrid().Cell(x, z).typet, 2);
        }
        QCOMPARE(Selection(), (std::array{0, 0, 0, 0}));
        // Escape turns the brush off: the left button selects again.
        QTest::keyClick(view_.get(), Qt::Key_Escape);
        mouse_.Click(camera.Cell(2, 2));
        QCOMPARE(Selection(), (std::array{2, 2, 2, 2}));
        QCOMPARE(doc_->mapGrid().Cell(2, 2).typet, 0);
    }

private:
    std::array<int, 4> Selection() const {
        const auto& s = view_->selection();
        return {s.x0, s.z0, s.x1, s.z1};
    }

    std::unique_ptr<CzandrelEditorDoc> doc_;
    std::unique_ptr<CzandrelEditorView> view_;
    MouseSender mouse_{nullptr};
};

QTEST_MAIN(ViewInputTest)
#include "view_input_test.moc"
