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

// A fresh document with its first cell raised, so it differs from any new map.
std::unique_ptr<CzandrelEditorDoc> EditedDocument() {
    auto doc = std::make_unique<CzandrelEditorDoc>();
    doc->OnNewDocument();
    doc->mapGrid().RaiseCell(0, 0, 2.5);
    return doc;
}

// Opens path in a new document and saves it as saved; the saved bytes.
QByteArray OpenAndSave(const QString& path, const QString& saved) {
    CzandrelEditorDoc doc;
    doc.OnNewDocument();
    QString error;
    if (!doc.OnOpenDocument(path, &error) || !doc.OnSaveDocument(saved, &error)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    return ReadAll(saved);
}

tools::EditOutcome Raise(tools::DocumentState& state) {
    state.mapGrid.RaiseCell(1, 1, 0.5);
    return {};
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        prompts_ = gui_test::FakePrompts();
    }

    // A new document is the new map, unmodified and with nothing to undo; a save writes the
    // writer's text and an open reads it back.
    void NewSaveAndOpenRoundTrip() {
        CzandrelEditorDoc fresh;
        QVERIFY(fresh.OnNewDocument());
        QCOMPARE(mapfile::FormatMap(fresh.mapGrid()), mapfile::FormatMap(map::MapGrid(50, 50)));
        QVERIFY(fresh.mapGrid().hasContent && !fresh.undoGrid().hasContent);
        QVERIFY(!fresh.IsModified());

        const auto doc = EditedDocument();
        doc->SetModified(true);
        const QString path = dir_.filePath("raised.zdm");
        QString error;
        QVERIFY(doc->OnSaveDocument(path, &error));
        QVERIFY(!doc->IsModified());
        QCOMPARE(doc->Title(), QString("raised.zdm"));
        QCOMPARE(ReadAll(path).toStdString(), mapfile::FormatMap(doc->mapGrid()));
        QVERIFY2(fresh.OnOpenDocument(path, &error), qPrintable(error));
        QCOMPARE(fresh.PathName(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(mapfile::FormatMap(fresh.mapGrid()), mapfile::FormatMap(doc->mapGrid()));
    }

    // The whole open and save of the editor, not only the reader and writer: the document must not
    // bring a locale-dependent conversion of its own.
    void OpenAndSaveUnderACommaDecimalLocaleKeepEveryDigit() {
        const QString source = dir_.filePath("fractions.zdm");
        WriteAll(source,
                 "<ZanMap SizeX=\"2\" SizeZ=\"1\" numtex=\"1\" Tex_0=\"a.jpg\" NO_0_0=\"1.25\"\n"
                 " C_0_0=\"0.5\" SE_1_0=\"-3.75\" grav_0_0=\"1e-7\" artr_1_0=\"0.0078125\"\n"
                 " grav_1_0=\"-160.000000\" typew_1_0=\"2\" X_S=\"1\" Z_S=\"0\"/>\n");
        // The application object has set the locale from the environment, as the editor does.
        const std::string previous = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "C");
        const QByteArray inC = OpenAndSave(source, dir_.filePath("c.zdm"));
        const bool comma = std::setlocale(LC_ALL, "it_IT.UTF-8") != nullptr;
        const std::string point = std::localeconv()->decimal_point;
        const QByteArray inComma = OpenAndSave(source, dir_.filePath("it.zdm"));
        std::setlocale(LC_ALL, previous.c_str());
        QVERIFY(inC.contains(" NO_0_0 =\"1.250000\"\n"));
        QVERIFY(inC.contains(" SE_1_0 =\"-3.750000\" \n C_1_0 =\"0.000000\" \n"));
        QVERIFY2(comma, "the locale it_IT.UTF-8 is missing: run scripts/deps.sh");
        QCOMPARE(point, std::string(","));
        QCOMPARE(inComma, inC);
    }

    void FailedOpenLeavesTheMapAsItWasAndSaysWhy_data() {
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<QString>("reasonNames");
        QTest::newRow("not a map") << QByteArray("<ZanMap SizeX=\"3\" <<< not a map") << "";
        QTest::newRow("missing") << QByteArray() << "";
        QTest::newRow("larger than the grid")
            << QByteArray("<ZanMap SizeX=\"60\" SizeZ=\"10\" numtex=\"0\"></ZanMap>\n") << "SizeX";
    }

    void FailedOpenLeavesTheMapAsItWasAndSaysWhy() {
        QFETCH(QByteArray, content);
        QFETCH(QString, reasonNames);
        const auto doc = EditedDocument();
        const std::string before = mapfile::FormatMap(doc->mapGrid());
        const QString path = dir_.filePath("bad.zdm");
        if (!content.isEmpty()) {
            WriteAll(path, content);
        }
        QString error;
        QVERIFY(!doc->OnOpenDocument(path, &error));
        QVERIFY2(!error.isEmpty() && error.contains(reasonNames), qPrintable(error));
        QCOMPARE(mapfile::FormatMap(doc->mapGrid()), before);
        QVERIFY(doc->PathName().isEmpty());
    }

    void ModifiedFlagSignalsOnlyOnChange() {
        CzandrelEditorDoc doc;
        QVERIFY(doc.OnNewDocument());
        QSignalSpy spy(&doc, &CzandrelEditorDoc::modifiedChanged);
        QSignalSpy views(&doc, &CzandrelEditorDoc::viewsNeedUpdate);
        // Moves and selections tell the views but leave what a save writes alone.
        doc.Change([](tools::DocumentState&) { return tools::EditOutcome{true, true}; }, this);
        QVERIFY(!doc.IsModified());
        doc.Change(Raise, this);
        doc.Change(Raise, nullptr);
        QVERIFY(doc.IsModified());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(views.count(), 3);
        QCOMPARE(views.at(1).at(0).value<QObject*>(), static_cast<QObject*>(this));
        QCOMPARE(views.at(2).at(0).value<QObject*>(), nullptr);
        // Neither asked for nor changed: the views hear nothing.
        doc.Change([](tools::DocumentState&) { return tools::EditOutcome{}; }, this);
        QCOMPARE(views.count(), 3);
    }

    // A held stroke is one entry, named by the edit that began it, even though the release
    // that ends it names nothing; a call site's name stands where the outcome has none.
    void AHeldStrokeIsOneHistoryEntry() {
        CzandrelEditorDoc doc;
        QVERIFY(doc.OnNewDocument());
        const auto paint = [](tools::DocumentState& state) {
            ++state.mapGrid.cells[1][1].typet;
            return tools::EditOutcome{true, false, true, "Pennello tile"};
        };
        doc.Change(paint, this);
        doc.Change(paint, this);
        QVERIFY(doc.history().Entries().empty());
        doc.Change([](tools::DocumentState&) { return tools::EditOutcome{}; }, this);
        doc.Change(Raise, nullptr, tools::kMapSizeName);
        QCOMPARE(doc.history().Entries().size(), std::size_t{2});
        QCOMPARE(doc.history().Entries().front().name, std::string("Pennello tile"));
        QCOMPARE(doc.history().Entries().back().name, std::string("Dimensioni mappa"));
        auto grid = std::make_unique<map::MapGrid>(doc.mapGrid());
        QVERIFY(doc.history().ReturnTo(1, *grid));
        QCOMPARE(grid->cells[1][1].typet, 2);
        QCOMPARE(grid->cells[1][1].C, 0.0);
    }

    // The manager opens a file once, remembers it, and keeps a map whose save failed unsaved.
    void ManagerOpensOnceAndReportsAFailedSave() {
        app::RecentFileList recent;
        map::MapGrid clipboard;
        app::DocumentManager docs(prompts_, recent, clipboard);
        const QString path = dir_.filePath("once.zdm");
        QVERIFY(EditedDocument()->OnSaveDocument(path, nullptr));
        CzandrelEditorDoc* first = docs.OpenDocument(path);
        QVERIFY(first != nullptr);
        QCOMPARE(docs.OpenDocument(path), first);
        QCOMPARE(docs.Documents().size(), std::size_t{1});
        QCOMPARE(recent.Files().front(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(first->clipboard(), &clipboard);

        const QString kept = dir_.filePath("kept.zdm");
        WriteAll(kept, "old content");
        QVERIFY(docs.OpenDocument(kept) == nullptr);
        CzandrelEditorDoc* doc = docs.NewDocument();
        doc->SetPathName(kept);
        doc->SetModified(true);
        prompts_.errors.clear();
        prompts_.savePath = dir_.filePath("missing/elsewhere.zdm");
        QVERIFY(!docs.SaveAs(doc));
        QCOMPARE(prompts_.errors.size(), 1);
        QVERIFY(prompts_.errors.front().contains("elsewhere.zdm"));
        QCOMPARE(doc->PathName(), QFileInfo(kept).absoluteFilePath());
        QVERIFY(doc->IsModified());
        QCOMPARE(ReadAll(kept), QByteArray("old content"));
    }

    // Only a modified map is asked about; Sì on an untitled one asks for a name, and cancelling
    // that keeps the map open.
    void SaveModifiedAsksOnlyForAModifiedMap() {
        app::RecentFileList recent;
        map::MapGrid clipboard;
        app::DocumentManager docs(prompts_, recent, clipboard);
        CzandrelEditorDoc* doc = docs.NewDocument();
        QVERIFY(docs.SaveModified(doc));
        QVERIFY(prompts_.saveQuestions.isEmpty());
        doc->SetModified(true);
        prompts_.saveAnswer = app::SaveAnswer::Save;
        QVERIFY(!docs.SaveModified(doc));
        QCOMPARE(QFileInfo(prompts_.lastSuggestedPath).fileName(), QString("zandrelEditor1.zdm"));
        QVERIFY(doc->IsModified());
        prompts_.savePath = dir_.filePath("named.zdm");
        QVERIFY(docs.SaveModified(doc));
        QVERIFY(!doc->IsModified());
        QVERIFY(QFile::exists(prompts_.savePath));
        QCOMPARE(prompts_.saveQuestions, QStringList({"zandrelEditor1", "zandrelEditor1"}));
    }

private:
    QTemporaryDir dir_;
    gui_test::FakePrompts prompts_;
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "document_test.moc"
