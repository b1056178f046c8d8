// "Verifica mappa": the list of findings of the active map, kept current while it is open, and
// the double-click that takes the 3D view to a finding's cell.
#include <QLabel>
#include <QMenuBar>
#include <QTableWidget>
#include <QtTest>
#include <array>
#include <memory>

#include "FakePrompts.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/MapCheckDialog.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/MapFinding.h"
#include "view3d/CzandrelEditorView.h"

using namespace zandrel;
using tools::MapCheckCode;
namespace cmd = document::cmd;

namespace {

// A fresh map (its textures are in the working directory) with a tile naming slot 9 of three:
// no start, no goal and that tile, three findings.
void BreakTile(document::CzandrelEditorDoc& doc, int x, int z) {
    doc.Change(
        [x, z](tools::DocumentState& state) {
            state.mapGrid.Cell(x, z).typet = 9;
            return tools::EditOutcome{};
        },
        nullptr);
}

std::vector<MapCheckCode> Codes(const app::MapCheckDialog& dialog) {
    std::vector<MapCheckCode> codes;
    for (const tools::MapFinding& finding : dialog.Findings()) {
        codes.push_back(finding.code);
    }
    return codes;
}

QString CellAt(const app::MapCheckDialog& dialog, int row) {
    return dialog.Table()->item(row, app::MapCheckDialog::kCellColumn)->text();
}

void DoubleClickRow(const app::MapCheckDialog& dialog, int row) {
    QTableWidget* table = dialog.Table();
    const QRect rect = table->visualItemRect(table->item(row, app::MapCheckDialog::kMessageColumn));
    // The view takes a double click only on the item its press went down on.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class MapCheckDialogTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        app::UseEditorSurfaceFormat();
        view3d::CzandrelEditorView::PrepareApplication();
    }

private slots:
    void init() {
        auto prompts = std::make_unique<gui_test::FakePrompts>();
        prompts_ = prompts.get();
        editor_ = std::make_unique<app::CzandrelEditorApp>(std::move(prompts));
        QVERIFY(editor_->InitInstance({}));
        doc_ = frame().ActiveFrame()->GetDocument();
    }

    void cleanup() { editor_.reset(); }

    void theMenuOpensOneListOfTheActiveMapsFindings() {
        BreakTile(*doc_, 7, 3);
        QVERIFY(frame().Commands().Query(cmd::kMapCheck).enabled);
        QVERIFY(frame().Commands().Execute(cmd::kMapCheck));
        app::MapCheckDialog* dialog = Dialog();
        QVERIFY(dialog != nullptr);
        QVERIFY(dialog->isVisible());
        QVERIFY(!dialog->isModal());
        QCOMPARE(dialog->Document(), doc_);
        QCOMPARE(dialog->Table()->rowCount(), 3);
        QCOMPARE(Codes(*dialog), (std::vector{MapCheckCode::StartMissing, MapCheckCode::NoGoal,
                                              MapCheckCode::TileTextureRange}));
        QCOMPARE(dialog->Table()->item(2, app::MapCheckDialog::kSeverityColumn)->text(),
                 QString("Errore"));
        QCOMPARE(dialog->Table()->item(2, app::MapCheckDialog::kMessageColumn)->text(),
                 QString("La texture del terreno non è nella tabella delle texture"));
        QCOMPARE(CellAt(*dialog, 2), QString("7, 3"));
        QVERIFY(CellAt(*dialog, 0).isEmpty());

        // Chosen again, the command brings back the same list.
        dialog->close();
        QVERIFY(frame().Commands().Execute(cmd::kMapCheck));
        QCOMPARE(Dialog(), dialog);
        QCOMPARE(frame().findChildren<app::MapCheckDialog*>().size(), 1);
        QVERIFY(dialog->isVisible());
    }

    void fixingAProblemThroughTheDocumentRemovesItsRow() {
        BreakTile(*doc_, 7, 3);
        QVERIFY(frame().Commands().Execute(cmd::kMapCheck));
        app::MapCheckDialog* dialog = Dialog();
        QCOMPARE(dialog->Table()->rowCount(), 3);

        doc_->Change(
            [](tools::DocumentState& state) {
                state.mapGrid.start.Set(4, 4, 4, 4);
                return tools::EditOutcome{};
            },
            nullptr);
        QCOMPARE(dialog->Table()->rowCount(), 2);
        QCOMPARE(Codes(*dialog),
                 (std::vector{MapCheckCode::NoGoal, MapCheckCode::TileTextureRange}));

        // A new problem shows up the same way, and a closed list is checked again on showing.
        BreakTile(*doc_, 8, 3);
        QCOMPARE(dialog->Table()->rowCount(), 3);
        dialog->close();
        doc_->Change(
            [](tools::DocumentState& state) {
                state.mapGrid.Cell(7, 3).typet = 0;
                state.mapGrid.Cell(8, 3).typet = 0;
                state.mapGrid.Cell(1, 1).goal = 1;
                return tools::EditOutcome{};
            },
            nullptr);
        QVERIFY(frame().Commands().Execute(cmd::kMapCheck));
        QCOMPARE(dialog->Table()->rowCount(), 0);
        QVERIFY(dialog->findChild<QLabel*>("mapCheckSummary")->text().startsWith("Nessun"));
    }

    void doubleClickSelectsTheCellAndCentresTheOrbitOnIt() {
        BreakTile(*doc_, 7, 3);
        QVERIFY(frame().Commands().Execute(cmd::kMapCheck));
        app::MapCheckDialog* dialog = Dialog();
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        view3d::CzandrelEditorView* view = frame().ActiveFrame()->View();
        QVERIFY(doc_->IsModified());
        doc_->SetModified(false);

        // A finding without a cell leaves the view as it was.
        DoubleClickRow(*dialog, 0);
        QCOMPARE(view->selection().x0, 25);
        QCOMPARE(view->navigator().focusX, 25.5f);

        DoubleClickRow(*dialog, 2);
        const tools::MapSelection& selection = view->selection();
        QCOMPARE((std::array{selection.x0, selection.z0, selection.x1, selection.z1}),
                 (std::array{7, 3, 7, 3}));
        QCOMPARE(view->navigator().focusX, 7.5f);
        QCOMPARE(view->navigator().focusZ, 3.5f);
        // The view drew the new selection into the map; selecting is not an edit.
        QCOMPARE(doc_->mapGrid().selection.x0, 7);
        QVERIFY(!doc_->IsModified());
        QCOMPARE(dialog->Table()->rowCount(), 3);
    }

    void theListFollowsTheActiveMapWindow() {
        BreakTile(*doc_, 7, 3);
        QVERIFY(frame().Commands().Execute(cmd::kMapCheck));
        app::MapCheckDialog* dialog = Dialog();
        QCOMPARE(dialog->Table()->rowCount(), 3);

        QVERIFY(frame().Commands().Execute(cmd::kFileNew));
        document::CzandrelEditorDoc* second = frame().ActiveFrame()->GetDocument();
        QVERIFY(second != doc_);
        QTRY_COMPARE(dialog->Document(), second);
        QCOMPARE(dialog->Table()->rowCount(), 2);
        // The first map's changes no longer reach the list.
        BreakTile(*doc_, 8, 3);
        QCOMPARE(dialog->Table()->rowCount(), 2);

        frame().ShowDocument(doc_);
        QTRY_COMPARE(dialog->Document(), doc_);
        QCOMPARE(dialog->Table()->rowCount(), 4);

        // With every map closed the list empties and says so.
        prompts_->saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(frame().CloseDocument(second));
        QVERIFY(frame().CloseDocument(doc_));
        QTRY_COMPARE(dialog->Table()->rowCount(), 0);
        QVERIFY(dialog->Document() == nullptr);
        QCOMPARE(dialog->findChild<QLabel*>("mapCheckSummary")->text(),
                 QString("Nessuna mappa aperta."));
    }

private:
    app::CMainFrame& frame() { return editor_->MainFrame(); }
    app::MapCheckDialog* Dialog() {
        return frame().findChild<app::MapCheckDialog*>(QString(), Qt::FindDirectChildrenOnly);
    }

    gui_test::FakePrompts* prompts_ = nullptr;
    std::unique_ptr<app::CzandrelEditorApp> editor_;
    document::CzandrelEditorDoc* doc_ = nullptr;
};

QTEST_MAIN(MapCheckDialogTest)
#include "map_check_dialog_test.moc"
