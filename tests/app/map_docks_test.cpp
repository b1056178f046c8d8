// "Esporta immagine...", "Importa heightmap...", "Verifica mappa", "Panoramica" and
// "Cronologia": the view's picture as a PNG; a greyscale PNG as the terrain in one edit that undo
// takes back; the list of the active map's findings, kept current, whose double-click takes the
// view to a finding's cell; the docks hidden at first and remembered; a click and a drag on the
// overview select what the 3D view then shows; a double-click in the history returns the map and
// the panel shows the values it returned to.
#include <QColorSpace>
#include <QDockWidget>
#include <QLabel>
#include <QSlider>
#include <QTableWidget>

#include "FileBytes.h"
#include "GuiMapEditor.h"
#include "app/HistoryWidget.h"
#include "app/MapCheckDialog.h"
#include "app/MapDocks.h"
#include "app/MapImageFiles.h"
#include "app/OverviewWidget.h"
#include "heightimage/HeightImage.h"
#include "heightimage/HeightPngWriter.h"
#include "tools/Heightmap.h"

using namespace zandrel;
namespace cmd = document::cmd;
using gui_test::Corners;
using gui_test::EditMap;

namespace {

// The pixels in RGB, whatever format and colour-space tag the image was read or grabbed with.
QImage Rgb(QImage image) {
    image.setColorSpace(QColorSpace());
    return image.convertToFormat(QImage::Format_RGB32);
}

// A tile naming slot 9 of three: with no start and no goal, three findings on a fresh map.
void BreakTile(document::CzandrelEditorDoc& doc, int x, int z) {
    EditMap(doc, [=](map::MapGrid& grid) { grid.Cell(x, z).typet = 9; });
}

}  // namespace

class MapDocksTest : public gui_test::EditorTest {
    Q_OBJECT

private slots:
    void init() {
        QSettings().remove("Docks");
        QVERIFY(dir_.isValid());
        StartEditor();
    }

    void exportWritesWhatTheViewShowsAtItsSizeOrSaysWhyNot() {
        QVERIFY(QTest::qWaitForWindowExposed(&editor_->frame()));
        prompts().imageSavePath = dir_.filePath("view.png");
        QVERIFY(editor_->Run(cmd::kFileExportImage));
        QCOMPARE(Rgb(QImage(prompts().imageSavePath, "PNG")), Rgb(view_->GrabImage()));

        prompts().imageSavePath = dir_.filePath("missing/view.png");
        editor_->Run(cmd::kFileExportImage);
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors.first().startsWith("Impossibile esportare l'immagine") &&
                     prompts().errors.first().endsWith("La cartella di destinazione non esiste."),
                 qPrintable(prompts().errors.first()));
    }

    // A file that is not a PNG, or none, is refused with the reason and changes nothing. A
    // stored range wins (the import below); without one the map's own is used, and 0..1 for a
    // flat map.
    void importSetsHeightsAsOneUndoableEditOrSaysWhyNot() {
        const map::MapGrid fresh = grid();
        gui_test::WriteAll(dir_.filePath("cut.png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
        for (const auto& [name, reason] :
             {std::pair{"cut.png", "non è un'immagine PNG"}, {"missing.png", "non esiste"}}) {
            prompts().heightmapPath = dir_.filePath(QString::fromLatin1(name));
            editor_->Run(cmd::kFileImportHeightmap);
            QCOMPARE(prompts().errors.size(), 1);
            const QString error = prompts().errors.takeFirst();
            QVERIFY2(error.contains("Impossibile importare la heightmap") &&
                         error.contains(QString::fromUtf8(reason)),
                     qPrintable(error));
            QVERIFY(grid().SameContent(fresh) && !doc_->IsModified());
        }

        const auto range = [&](std::optional<tools::HeightRange> stored) {
            const tools::HeightRange used = app::MapImageFiles::ImportRange(stored, grid());
            return std::pair{used.min, used.max};
        };
        QCOMPARE(range(std::nullopt), std::pair(0.0, 1.0));
        EditMap(*doc_, [](map::MapGrid& grid) {
            grid.Cell(3, 3).C = -3.0;
            grid.Cell(9, 9).C = 4.0;
        });
        QCOMPARE(range(std::nullopt), std::pair(-3.0, 4.0));
        doc_->SetModified(false);

        const map::MapGrid before = doc_->mapGrid();
        // Two pixels, low west and high east, with their range stored (how the picture is
        // stretched over the map is the tools' test's).
        prompts().heightmapPath = dir_.filePath("ramp.png");
        QVERIFY(heightimage::WriteHeightPngFile(prompts().heightmapPath.toStdString(),
                                                {2, 1, {0, 65535}, tools::HeightRange{2.0, 5.5}}));
        QVERIFY(editor_->Run(cmd::kFileImportHeightmap) && doc_->IsModified());
        const tools::HeightRange imported = tools::RangeOf(tools::SampleHeightField(grid()));
        QVERIFY(qAbs(imported.min - 2.0) < 1e-9 && qAbs(imported.max - 5.5) < 1e-9);
        QVERIFY2(editor_->StatusText().endsWith("da 2 a 5,5"), qPrintable(editor_->StatusText()));
        QVERIFY(editor_->Run(cmd::kEditUndo));
        QVERIFY(grid().SameContent(before));
    }

    // One list, brought back by the command, of the active window's map: it follows the map's
    // changes while it shows and catches up when it shows again; its rows lead the view to their
    // cells.
    void theCheckListsTheFindingsAndKeepsThemCurrent() {
        BreakTile(*doc_, 7, 3);
        QVERIFY(editor_->Run(cmd::kMapCheck));
        app::MapCheckDialog* dialog = Dialog();
        QVERIFY(dialog != nullptr && dialog->isVisible() && !dialog->isModal());
        // The start, the goal, then the tile: the check's order.
        QCOMPARE(Row(2), QString("Errore|La texture del terreno non è nella tabella delle "
                                 "texture|7, 3"));
        QVERIFY(Row(0).endsWith('|'));  // the missing start has no cell
        QVERIFY2(Summary().startsWith("3 errori, 0 avvisi."), qPrintable(Summary()));

        // A double-click takes the view to the finding's cell; one without a cell leaves it.
        QVERIFY(QTest::qWaitForWindowExposed(dialog));
        doc_->SetModified(false);
        DoubleClickRow(0);
        QCOMPARE(view_->navigator().focusX, 25.5f);
        DoubleClickRow(2);
        QCOMPARE(Corners(view_->selection()), (std::array{7, 3, 7, 3}));
        QCOMPARE(view_->navigator().focusX, 7.5f);
        QCOMPARE(view_->navigator().focusZ, 3.5f);
        QVERIFY(!doc_->IsModified());  // selecting is not an edit

        EditMap(*doc_, [](map::MapGrid& grid) { grid.start.Set(4, 4, 4, 4); });
        QCOMPARE(dialog->Table()->rowCount(), 2);
        dialog->close();
        EditMap(*doc_, [](map::MapGrid& grid) {
            grid.Cell(7, 3).typet = 0;
            grid.Cell(8, 3).typet = 0;
            grid.Cell(1, 1).goal = 1;
        });
        QVERIFY(editor_->Run(cmd::kMapCheck));
        QCOMPARE(Dialog(), dialog);
        QCOMPARE(editor_->frame().findChildren<app::MapCheckDialog*>().size(), 1);
        QCOMPARE(dialog->Table()->rowCount(), 0);
        QVERIFY(Summary().startsWith("Nessun problema"));

        // It lists the active window's map, and none once every map is closed.
        QVERIFY(editor_->Run(cmd::kFileNew));
        document::CzandrelEditorDoc* second = editor_->doc();
        QTRY_COMPARE(dialog->Document(), second);
        QCOMPARE(dialog->Table()->rowCount(), 2);
        BreakTile(*doc_, 8, 3);  // no longer the list's map
        QCOMPARE(dialog->Table()->rowCount(), 2);
        editor_->frame().ShowDocument(doc_);
        QTRY_COMPARE(dialog->Document(), doc_);
        QCOMPARE(dialog->Table()->rowCount(), 1);

        prompts().saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(editor_->frame().CloseDocument(second));
        QVERIFY(editor_->frame().CloseDocument(doc_));
        QTRY_COMPARE(dialog->Table()->rowCount(), 0);
        QVERIFY(dialog->Document() == nullptr);
        QCOMPARE(Summary(), QString("Nessuna mappa aperta."));
    }

    void theDocksStartHiddenAndComeBackWhereTheyWereLeft() {
        QVERIFY(docks().OverviewDock()->isHidden());
        QVERIFY(!editor_->Checked(cmd::kViewHistory));
        QVERIFY(editor_->Run(cmd::kViewHistory));
        QVERIFY(editor_->Checked(cmd::kViewHistory));
        editor_->frame().addDockWidget(Qt::LeftDockWidgetArea, docks().HistoryDock());

        // Quitting keeps what was shown; the next start shows it in the same place.
        StartEditor();
        QVERIFY(!docks().HistoryDock()->isHidden());
        QVERIFY(docks().OverviewDock()->isHidden());
        QCOMPARE(editor_->frame().dockWidgetArea(docks().HistoryDock()), Qt::LeftDockWidgetArea);
        QVERIFY(editor_->Run(cmd::kViewHistory));
        QVERIFY(docks().HistoryDock()->isHidden());
    }

    void theOverviewSelectsForTheViewAndFollowsTheMap() {
        ShowOverview();
        QTest::mouseClick(overview(), Qt::LeftButton, {}, Centre(7, 3));
        QCOMPARE(Corners(view_->selection()), (std::array{7, 3, 7, 3}));

        // While the button is down the map shows the rectangle (drawing stores the selection
        // the view shows in the map); on release the view centres on it.
        QTest::mousePress(overview(), Qt::LeftButton, {}, Centre(9, 9));
        QTest::mouseMove(overview(), Centre(4, 12));
        QCOMPARE(Corners(doc_->mapGrid().selection), (std::array{4, 9, 9, 12}));
        QTest::mouseRelease(overview(), Qt::LeftButton, {}, Centre(4, 12));
        QCOMPARE(Corners(view_->selection()), (std::array{4, 9, 9, 12}));
        QCOMPARE(view_->navigator().focusX, 6.5f);
        QCOMPARE(view_->navigator().focusZ, 10.5f);
        QVERIFY(!doc_->IsModified() && doc_->history().Entries().empty());

        // It redraws what changed, and follows the active window.
        Raise(0, 0, 2.0);  // a new highest height: every row takes new colours
        QCOMPARE(overview()->LastDrawnRows(), 50);
        Raise(6, 20, 1.0);
        QCOMPARE(overview()->LastDrawnRows(), 2);
        QVERIFY(editor_->Run(cmd::kFileNew));
        QTRY_COMPARE(overview()->Document(), editor_->doc());
    }

    void aDoubleClickInTheHistoryReturnsTheMapAndTheSettingsLimitIt() {
        ShowOverview();
        QTest::mouseClick(overview(), Qt::LeftButton, {}, Centre(5, 5));
        ApplyGravity(-100);
        ApplyGravity(50);
        QVERIFY(editor_->Run(cmd::kViewHistory));
        app::HistoryWidget* history = docks().History();
        QVERIFY(QTest::qWaitForWindowExposed(history));
        QCOMPARE(history->topLevelItemCount(), 2);
        QCOMPARE(history->topLevelItem(0)->text(app::HistoryWidget::kNameColumn),
                 QString("Applica"));
        QCOMPARE(history->topLevelItem(0)->text(app::HistoryWidget::kCellsColumn), QString("5, 5"));

        const QRect row = history->visualItemRect(history->ItemOf(1));
        QTest::mouseClick(history->viewport(), Qt::LeftButton, {}, row.center());
        QTest::mouseDClick(history->viewport(), Qt::LeftButton, {}, row.center());
        QCOMPARE(editor_->Field("gravityValue"), QString("-100"));  // the panel shows the map
        QCOMPARE(history->topLevelItemCount(), 3);
        QCOMPARE(history->topLevelItem(2)->text(app::HistoryWidget::kNameColumn),
                 QString("Ritorno a 1"));

        // A new map's history keeps as many entries as the settings say.
        QSettings().setValue("History/Limit", 2);
        QVERIFY(editor_->Run(cmd::kFileNew));
        doc_ = editor_->doc();
        QSettings().remove("History/Limit");
        for (int x = 0; x < 3; ++x) {
            Raise(x, 0, 1.0);
        }
        QCOMPARE(doc_->history().Entries().size(), std::size_t{2});
    }

private:
    void StartEditor() {
        QVERIFY(Start());
        doc_ = editor_->doc();
        view_ = editor_->view();
    }

    app::MapDocks& docks() { return editor_->frame().Docks(); }

    // Shown, and following the active window once the activation has been announced.
    void ShowOverview() {
        if (docks().OverviewDock()->isHidden()) {
            QVERIFY(editor_->Run(cmd::kViewOverview));
        }
        docks().OverviewDock()->setMinimumSize(300, 300);
        QVERIFY(QTest::qWaitForWindowExposed(overview()));
        QVERIFY(QTest::qWaitFor([&] { return overview()->Document() == doc_; }));
    }
    app::OverviewWidget* overview() { return docks().Overview(); }

    QPoint Centre(int x, int z) { return docks().Overview()->CellArea(x, z).center().toPoint(); }

    void Raise(int x, int z, double by) {
        EditMap(
            *doc_, [&](map::MapGrid& grid) { grid.RaiseCell(x, z, by); }, "Alzare");
    }

    void ApplyGravity(int gravity) {
        editor_->Panel<QSlider>("gravitySlider")->setValue(gravity);
        editor_->Click("applyButton");
    }

    gui_test::FakePrompts& prompts() { return *editor_->prompts; }
    const map::MapGrid& grid() { return doc_->mapGrid(); }
    app::MapCheckDialog* Dialog() {
        return editor_->frame().findChild<app::MapCheckDialog*>(QString(),
                                                                Qt::FindDirectChildrenOnly);
    }
    // The severity, message and cell columns of a row.
    QString Row(int row) {
        QStringList texts;
        for (int column = 0; column < app::MapCheckDialog::kColumnCount; ++column) {
            texts.append(Dialog()->Table()->item(row, column)->text());
        }
        return texts.join('|');
    }
    QString Summary() { return Dialog()->findChild<QLabel*>("mapCheckSummary")->text(); }
    void DoubleClickRow(int row) {
        QTableWidget* table = Dialog()->Table();
        const QPoint at =
            table->visualItemRect(table->item(row, app::MapCheckDialog::kMessageColumn)).center();
        // The view takes a double click only on the item its press went down on.
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
    }

    document::CzandrelEditorDoc* doc_ = nullptr;
    view3d::CzandrelEditorView* view_ = nullptr;
};

QTEST_MAIN(MapDocksTest)
#include "map_docks_test.moc"
