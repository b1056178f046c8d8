// "Esporta immagine..." and "Importa heightmap...": the view's picture as a PNG, and a greyscale
// PNG as the map's terrain in one edit that undo takes back.
#include <QFile>
#include <QImage>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

#include "FakePrompts.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CzandrelEditorApp.h"
#include "app/EditorSurfaceFormat.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "heightimage/HeightImage.h"
#include "heightimage/HeightPngWriter.h"
#include "tools/Heightmap.h"
#include "view3d/CzandrelEditorView.h"

using namespace zandrel;
namespace cmd = document::cmd;

Q_DECLARE_METATYPE(std::optional<tools::HeightRange>)

namespace {

// A ramp of 16-bit levels along x, from 0 at the west edge to the top level at the east.
heightimage::HeightImage Ramp(int width, int height) {
    heightimage::HeightImage image;
    image.width = width;
    image.height = height;
    for (int v = 0; v < height; ++v) {
        for (int u = 0; u < width; ++u) {
            image.levels.push_back(static_cast<std::uint16_t>(u * 65535 / (width - 1)));
        }
    }
    return image;
}

// Pixel for pixel, whatever format and colour-space tag each image was read or grabbed with.
bool SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (qRgb(qRed(a.pixel(x, y)), qGreen(a.pixel(x, y)), qBlue(a.pixel(x, y))) !=
                qRgb(qRed(b.pixel(x, y)), qGreen(b.pixel(x, y)), qBlue(b.pixel(x, y)))) {
                return false;
            }
        }
    }
    return true;
}

tools::HeightRange RangeOfMap(const document::CzandrelEditorDoc& doc) {
    return tools::RangeOf(tools::SampleHeightField(doc.mapGrid()));
}

}  // namespace

class MapImageFilesTest : public QObject {
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
        QVERIFY(QTest::qWaitForWindowExposed(&frame()));
        doc_ = frame().ActiveFrame()->GetDocument();
        QVERIFY(folder_.isValid());
    }

    void cleanup() { editor_.reset(); }

    void exportWritesWhatTheViewShowsAtItsSize() {
        view3d::CzandrelEditorView* view = frame().ActiveFrame()->View();
        prompts_->imageSavePath = folder_.filePath("view.png");
        QVERIFY(frame().Commands().Execute(cmd::kFileExportImage));
        QVERIFY(prompts_->errors.isEmpty());

        const QImage written(prompts_->imageSavePath, "PNG");
        QVERIFY(!written.isNull());
        QCOMPARE(written.size(), view->size() * view->devicePixelRatio());
        QVERIFY(SamePixels(written, view->GrabImage()));
        QVERIFY(!doc_->IsModified());
    }

    void exportIntoAMissingFolderSaysWhyAndWritesNothing() {
        prompts_->imageSavePath = folder_.filePath("missing/view.png");
        frame().Commands().Execute(cmd::kFileExportImage);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors.first().contains("Impossibile esportare l'immagine"));
        QVERIFY(prompts_->errors.first().contains("La cartella di destinazione non esiste."));
        QVERIFY(!QFile::exists(prompts_->imageSavePath));
    }

    void importSetsHeightsAsOneUndoableEdit_data() {
        QTest::addColumn<bool>("hilly");
        QTest::addColumn<std::optional<tools::HeightRange>>("stored");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QString>("shown");  // the end of the status bar's note
        using Range = std::optional<tools::HeightRange>;
        // A stored range wins; without one a flat map has none and 0..1 is used.
        QTest::newRow("stored range") << false << Range({2.0, 5.5}) << 2.0 << 5.5 << "da 2 a 5,5";
        QTest::newRow("flat map, no range") << false << Range() << 0.0 << 1.0 << "da 0 a 1";
        QTest::newRow("the map's own range") << true << Range() << -3.0 << 4.0 << "da -3 a 4";
    }

    void importSetsHeightsAsOneUndoableEdit() {
        QFETCH(bool, hilly);
        QFETCH(std::optional<tools::HeightRange>, stored);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QString, shown);
        if (hilly) {
            doc_->Change(
                [](tools::DocumentState& state) {
                    state.mapGrid.Cell(3, 3).C = -3.0;
                    state.mapGrid.Cell(9, 9).C = 4.0;
                    return tools::EditOutcome{};
                },
                nullptr);
            doc_->SetModified(false);
        }
        const map::MapGrid before = doc_->mapGrid();
        // Another size than the map's lattice: the ramp is stretched over the whole map.
        heightimage::HeightImage image = Ramp(33, 17);
        image.range = stored;
        prompts_->heightmapPath = folder_.filePath("ramp.png");
        QVERIFY(heightimage::WriteHeightPngFile(prompts_->heightmapPath.toStdString(), image));

        QVERIFY(frame().Commands().Execute(cmd::kFileImportHeightmap));
        QVERIFY(prompts_->errors.isEmpty());
        QVERIFY(doc_->IsModified());
        const tools::HeightRange range = RangeOfMap(*doc_);
        QVERIFY(qAbs(range.min - low) < 1e-9);
        QVERIFY(qAbs(range.max - high) < 1e-9);
        const map::MapCell& west = doc_->mapGrid().Cell(0, 20);
        const map::MapCell& east = doc_->mapGrid().Cell(doc_->mapGrid().SizeX - 1, 20);
        QVERIFY(west.C < east.C);
        QVERIFY2(frame().statusBar()->currentMessage().endsWith(shown),
                 qPrintable(frame().statusBar()->currentMessage()));

        QVERIFY(frame().Commands().Execute(cmd::kEditUndo));
        QVERIFY(doc_->mapGrid().SameContent(before));
    }

    void importOfABadFileSaysWhyAndChangesNothing_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QTest::newRow("text file") << QByteArray("<zdm SizeX=\"3\"/>\n") << "non è un'immagine PNG";
        QTest::newRow("cut short") << QByteArray("\x89PNG\r\n\x1a\n", 8) << "non è un'immagine PNG";
        QTest::newRow("empty file") << QByteArray() << "non è un'immagine PNG";
        QTest::newRow("missing") << QByteArray() << "non esiste";
    }

    void importOfABadFileSaysWhyAndChangesNothing() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const QString tag = QString::fromLatin1(QTest::currentDataTag());
        prompts_->heightmapPath = folder_.filePath(tag + ".png");
        if (tag != "missing") {
            QFile file(prompts_->heightmapPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
        const map::MapGrid before = doc_->mapGrid();
        frame().Commands().Execute(cmd::kFileImportHeightmap);
        QCOMPARE(prompts_->errors.size(), 1);
        QVERIFY(prompts_->errors.first().contains("Impossibile importare la heightmap"));
        QVERIFY2(prompts_->errors.first().contains(reason), qPrintable(prompts_->errors.first()));
        QVERIFY(doc_->mapGrid().SameContent(before));
        QVERIFY(!doc_->IsModified());
    }

    void bothCommandsNeedAMapWindow() {
        for (const int id : {cmd::kFileExportImage, cmd::kFileImportHeightmap}) {
            QVERIFY(frame().Commands().Query(id).enabled);
        }
        QVERIFY(frame().CloseDocument(doc_));
        QTRY_VERIFY(frame().ActiveFrame() == nullptr);
        for (const int id : {cmd::kFileExportImage, cmd::kFileImportHeightmap}) {
            QVERIFY(!frame().Commands().Query(id).enabled);
        }
    }

private:
    app::CMainFrame& frame() { return editor_->MainFrame(); }

    QTemporaryDir folder_;
    gui_test::FakePrompts* prompts_ = nullptr;
    std::unique_ptr<app::CzandrelEditorApp> editor_;
    document::CzandrelEditorDoc* doc_ = nullptr;
};

QTEST_MAIN(MapImageFilesTest)
#include "map_image_files_test.moc"
