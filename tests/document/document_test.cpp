// The map document and the document manager, on files in a temporary folder.
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <clocale>
#include <memory>
#include <string>

#include "FakePrompts.h"
#include "FileBytes.h"
#include "app/DocumentManager.h"
#include "app/RecentFileList.h"
#include "document/CzandrelEditorDoc.h"
#include "mapfile/MapWriter.h"

using namespace zandrel;
using document::CzandrelEditorDoc;
using gui_test::ReadAll;
using gui_test::WriteAll;

namespace {

tools::EditOutcome Raise(tools::DocumentState& state) {
    state.mapGrid.RaiseCell(1, 1, 0.5);
    return {};
}

tools::EditOutcome Nothing(tools::DocumentState& /*state*/) {
    return {};
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    // A document with its first cell raised, so it differs from any new map.
    void init() {
        QVERIFY(dir_.isValid());
        doc_ = std::make_unique<CzandrelEditorDoc>();
        QVERIFY(doc_->OnNewDocument());
        doc_->mapGrid().RaiseCell(0, 0, 2.5);
    }

    // A new document is the new map, unmodified and with nothing to undo; that a save and an
    // open of it give the map back is the shell's test (tests/app, maps of the command line).
    // Text that is no map, no file at all, a map larger than the grid: the open says why and
    // leaves the map and its name as they were.
    void NewMapIsUnmodifiedAndFailedOpensChangeNothing() {
        CzandrelEditorDoc fresh;
        QVERIFY(fresh.OnNewDocument());
        QCOMPARE(mapfile::FormatMap(fresh.mapGrid()), mapfile::FormatMap(map::MapGrid(50, 50)));
        QVERIFY(fresh.mapGrid().hasContent && !fresh.undoGrid().hasContent);
        QVERIFY(!fresh.IsModified());
        const QString path = dir_.filePath("raised.zdm");
        QVERIFY(doc_->OnSaveDocument(path, nullptr));
        const std::string saved = mapfile::FormatMap(doc_->mapGrid());
        WriteAll(dir_.filePath("text.zdm"), "<ZanMap SizeX=\"3\" <<< not a map");
        WriteAll(dir_.filePath("large.zdm"),
                 "<ZanMap SizeX=\"60\" SizeZ=\"10\" numtex=\"0\"></ZanMap>\n");
        for (const char* name : {"text.zdm", "missing.zdm", "large.zdm"}) {
            QString error;
            QVERIFY2(!doc_->OnOpenDocument(dir_.filePath(name), &error) && !error.isEmpty(), name);
            QCOMPARE(mapfile::FormatMap(doc_->mapGrid()), saved);
            QCOMPARE(doc_->PathName(), QFileInfo(path).absoluteFilePath());
        }
    }

    // The whole open and save of the editor, not only the reader and writer: the document must
    // not bring a locale-dependent conversion of its own. The application object has set the
    // locale from the environment, as the editor does; it is put back before any check.
    void OpenAndSaveUnderACommaDecimalLocaleKeepEveryDigit() {
        const QString source = dir_.filePath("fractions.zdm");
        const QString saved = dir_.filePath("saved.zdm");
        WriteAll(source,
                 "<ZanMap SizeX=\"2\" SizeZ=\"1\" numtex=\"1\" Tex_0=\"a.jpg\" NO_0_0=\"1.25\"\n"
                 " C_0_0=\"0.5\" SE_1_0=\"-3.75\" grav_0_0=\"1e-7\" artr_1_0=\"0.0078125\"\n"
                 " grav_1_0=\"-160.000000\" typew_1_0=\"2\" X_S=\"1\" Z_S=\"0\"/>\n");
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        QList<QByteArray> bytes;
        std::string point;
        for (const char* locale : {"C", "it_IT.UTF-8"}) {
            point = std::setlocale(LC_ALL, locale) ? std::localeconv()->decimal_point : "none";
            const bool kept =
                doc_->OnOpenDocument(source, nullptr) && doc_->OnSaveDocument(saved, nullptr);
            bytes.append(kept ? ReadAll(saved) : QByteArray());
        }
        std::setlocale(LC_ALL, previous.c_str());
        QVERIFY2(point == ",", "the locale it_IT.UTF-8 is missing: run scripts/deps.sh");
        QVERIFY(bytes[0].contains(" NO_0_0 =\"1.250000\"\n"));
        QVERIFY(bytes[0].contains(" SE_1_0 =\"-3.750000\" \n C_1_0 =\"0.000000\" \n"));
        QCOMPARE(bytes[1], bytes[0]);
    }

    // Moves and selections tell the views but leave what a save writes alone; what is neither
    // asked for nor changed tells nobody.
    void ModifiedFlagSignalsOnlyOnChange() {
        QSignalSpy spy(doc_.get(), &CzandrelEditorDoc::modifiedChanged);
        QSignalSpy views(doc_.get(), &CzandrelEditorDoc::viewsNeedUpdate);
        doc_->Change([](tools::DocumentState&) { return tools::EditOutcome{true, true}; }, this);
        QVERIFY(!doc_->IsModified());
        doc_->Change(Raise, this);
        doc_->Change(Raise, nullptr);
        doc_->Change(Nothing, this);
        QVERIFY(doc_->IsModified());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(views.count(), 3);
        QCOMPARE(views.at(1).at(0).value<QObject*>(), static_cast<QObject*>(this));
        QCOMPARE(views.at(2).at(0).value<QObject*>(), nullptr);
    }

    // A held stroke is one entry, named by the edit that began it, even though the release
    // that ends it names nothing; a call site's name stands where the outcome has none.
    void AHeldStrokeIsOneHistoryEntry() {
        const auto paint = [](tools::DocumentState& state) {
            ++state.mapGrid.cells[1][1].typet;
            return tools::EditOutcome{true, false, true, "Pennello tile"};
        };
        doc_->Change(paint, this);
        doc_->Change(paint, this);
        QVERIFY(doc_->history().Entries().empty());
        doc_->Change(Nothing, this);
        doc_->Change(Raise, nullptr, tools::kMapSizeName);
        QCOMPARE(doc_->history().Entries().size(), std::size_t{2});
        QCOMPARE(doc_->history().Entries().front().name, std::string("Pennello tile"));
        QCOMPARE(doc_->history().Entries().back().name, std::string("Dimensioni mappa"));
        auto grid = std::make_unique<map::MapGrid>(doc_->mapGrid());
        QVERIFY(doc_->history().ReturnTo(1, *grid));
        QCOMPARE(grid->cells[1][1].typet, 2);
        QCOMPARE(grid->cells[1][1].C, 0.0);
    }

    // The manager opens a file once and remembers it. Sì on a modified untitled map asks for a
    // name, under the map's title, and cancelling that keeps it unsaved (what the windows ask and
    // when is the shell's test). A map whose save failed stays unsaved, under its old name.
    void ManagerOpensOnceAsksForANameAndReportsAFailedSave() {
        gui_test::FakePrompts prompts;
        app::RecentFileList recent;
        map::MapGrid clipboard;
        app::DocumentManager docs(prompts, recent, clipboard);
        const QString path = dir_.filePath("once.zdm");
        QVERIFY(doc_->OnSaveDocument(path, nullptr));
        CzandrelEditorDoc* first = docs.OpenDocument(path);
        QVERIFY(first != nullptr);
        QCOMPARE(docs.OpenDocument(path), first);
        QCOMPARE(docs.Documents().size(), std::size_t{1});
        QCOMPARE(first->clipboard(), &clipboard);

        CzandrelEditorDoc* doc = docs.NewDocument();
        doc->SetModified(true);
        prompts.saveAnswer = app::SaveAnswer::Save;
        QVERIFY(!docs.SaveModified(doc));
        QCOMPARE(QFileInfo(prompts.lastSuggestedPath).fileName(), QString("zandrelEditor1.zdm"));
        QVERIFY(doc->IsModified());
        prompts.savePath = dir_.filePath("named.zdm");
        QVERIFY(docs.SaveModified(doc));
        QVERIFY(!doc->IsModified());

        const QString kept = dir_.filePath("kept.zdm");
        WriteAll(kept, "old content");
        doc->SetPathName(kept);
        doc->SetModified(true);
        prompts.savePath = dir_.filePath("missing/elsewhere.zdm");
        QVERIFY(!docs.SaveAs(doc));
        QCOMPARE(prompts.errors.size(), 1);
        QVERIFY(prompts.errors.front().contains("elsewhere.zdm"));
        QCOMPARE(doc->PathName(), QFileInfo(kept).absoluteFilePath());
        QVERIFY(doc->IsModified());
        QCOMPARE(ReadAll(kept), QByteArray("old content"));
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<CzandrelEditorDoc> doc_;
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "document_test.moc"
