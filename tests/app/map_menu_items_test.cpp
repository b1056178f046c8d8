// "Esporta immagine...", "Importa heightmap..." and "Verifica mappa": the view's picture as a PNG,
// a greyscale PNG as the terrain in one edit that undo takes back, and the list of the active
// map's findings, kept current, whose double-click takes the view to a finding's cell.
#include <QColorSpace>
#include <QLabel>
#include <QTableWidget>

#include "FileBytes.h"
#include "GuiMapEditor.h"
#include "app/MapCheckDialog.h"
#include "app/MapImageFiles.h"
#include "heightimage/HeightImage.h"
#include "heightimage/HeightPngWriter.h"
#include "tools/Heightmap.h"

using namespace zandrel;
namespace cmd = document::cmd;
using gui_test::Corners;
using gui_test::EditMap;
using Range = std::optional<tools::HeightRange>;

namespace {

// A ramp of 16-bit levels along x, from 0 at the west edge to the top level at the east.
heightimage::HeightImage Ramp(int width, int height, Range range) {
    heightimage::HeightImage image{width, height, {}, range};
    for (int v = 0; v < height; ++v) {
        for (int u = 0; u < width; ++u) {
            image.levels.push_back(static_cast<std::uint16_t>(u * 65535 / (width - 1)));
        }
    }
    return image;
}

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

class MapMenuItemsTest : public gui_test::EditorTest {
    Q_OBJECT

public:
    static void initMain() { gui_test::PrepareApplication(); }

private slots:
    void init() {
        QVERIFY(folder_.isValid() && Start());
        doc_ = editor_->doc();
    }

    void exportWritesWhatTheViewShowsAtItsSizeOrSaysWhyNot() {
        QVERIFY(QTest::qWaitForWindowExposed(&editor_->frame()));
        prompts().imageSavePath = folder_.filePath("view.png");
        QVERIFY(editor_->Run(cmd::kFileExportImage));
        const QImage written(prompts().imageSavePath, "PNG");
        view3d::CzandrelEditorView* view = editor_->view();
        QCOMPARE(written.size(), view->size() * view->devicePixelRatio());
        QCOMPARE(Rgb(written), Rgb(view->GrabImage()));

        prompts().imageSavePath = folder_.filePath("missing/view.png");
        editor_->Run(cmd::kFileExportImage);
        QCOMPARE(prompts().errors.size(), 1);
        QVERIFY2(prompts().errors.first().startsWith("Impossibile esportare l'immagine") &&
                     prompts().errors.first().endsWith("La cartella di destinazione non esiste."),
                 qPrintable(prompts().errors.first()));
        QVERIFY(!QFile::exists(prompts().imageSavePath));
    }

    // A file that is not a PNG, or none, is refused with the reason and changes nothing. A
    // stored range wins (the import below); without one the map's own is used, and 0..1 for a
    // flat map.
    void importSetsHeightsAsOneUndoableEditOrSaysWhyNot() {
        const map::MapGrid fresh = grid();
        gui_test::WriteAll(folder_.filePath("cut.png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
        for (const auto& [name, reason] :
             {std::pair{"cut.png", "non è un'immagine PNG"}, {"missing.png", "non esiste"}}) {
            prompts().heightmapPath = folder_.filePath(QString::fromLatin1(name));
            editor_->Run(cmd::kFileImportHeightmap);
            QCOMPARE(prompts().errors.size(), 1);
            const QString error = prompts().errors.takeFirst();
            QVERIFY2(error.contains("Impossibile importare la heightmap") &&
                         error.contains(QString::fromUtf8(reason)),
                     qPrintable(error));
            QVERIFY(grid().SameContent(fresh) && !doc_->IsModified());
        }

        const auto range = [&](Range stored) {
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
        // Another size than the map's lattice: the ramp is stretched over the whole map.
        prompts().heightmapPath = folder_.filePath("ramp.png");
        QVERIFY(heightimage::WriteHeightPngFile(prompts().heightmapPath.toStdString(),
                                                Ramp(33, 17, tools::HeightRange{2.0, 5.5})));
        QVERIFY(editor_->Run(cmd::kFileImportHeightmap) && doc_->IsModified());
        const tools::HeightRange imported = tools::RangeOf(tools::SampleHeightField(grid()));
        QVERIFY(qAbs(imported.min - 2.0) < 1e-9 && qAbs(imported.max - 5.5) < 1e-9);
        QVERIFY(grid().Cell(0, 20).C < grid().Cell(grid().SizeX - 1, 20).C);
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
        view3d::CzandrelEditorView* view = editor_->view();
        DoubleClickRow(0);
        QCOMPARE(view->navigator().focusX, 25.5f);
        DoubleClickRow(2);
        QCOMPARE(Corners(view->selection()), (std::array{7, 3, 7, 3}));
        QCOMPARE(view->navigator().focusX, 7.5f);
        QCOMPARE(view->navigator().focusZ, 3.5f);
        QVERIFY(!doc_->IsModified());  // selecting is not an edit

        EditMap(*doc_, [](map::MapGrid& grid) { grid.start.Set(4, 4, 4, 4); });
        QCOMPARE(dialog->Table()->rowCount(), 2);
        BreakTile(*doc_, 8, 3);
        QCOMPARE(dialog->Table()->rowCount(), 3);
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

private:
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

    QTemporaryDir folder_;
    document::CzandrelEditorDoc* doc_ = nullptr;
};

QTEST_MAIN(MapMenuItemsTest)
#include "map_menu_items_test.moc"
