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
using gui_test::ReadAll;
using gui_test::WriteAll;

namespace {

// A fresh document with its first cell raised, so it differs from any new map.
std::unique_ptr<document::CzandrelEditorDoc> EditedDocument() {
    auto doc = std::make_unique<document::CzandrelEditorDoc>();
    doc->OnNewDocument();
    doc->mapGrid().RaiseCell(0, 0, 2.5);
    return doc;
}

// The document manager with the lists it shares with the application.
struct Manager {
    app::RecentFileList recent;
    map::MapGrid clipboard;
    app::DocumentManager docs;
    explicit Manager(app::UserPrompts& prompts) : docs(prompts, recent, clipboard) {}
};

// Switches the C library to a locale for one scope and back; the application object has already
// set it from the environment, as the editor does at start-up.
class ScopedLocale {
public:
    explicit ScopedLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
        active_ = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

// Opens path in a new document and saves it as saved; the saved bytes.
QByteArray OpenAndSave(const QString& path, const QString& saved) {
    document::CzandrelEditorDoc doc;
    doc.OnNewDocument();
    QString error;
    if (!doc.OnOpenDocument(path, &error) || !doc.OnSaveDocument(saved, &error)) {
        qWarning("%s", qPrintable(error));
        return {};
    }
    return ReadAll(saved);
}

}  // namespace

class DocumentTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        prompts_ = gui_test::FakePrompts();
    }

    void NewDocumentIsAFlatFiftyByFiftyMapWithoutUndo() {
        document::CzandrelEditorDoc doc;
        QVERIFY(doc.OnNewDocument());
        QCOMPARE(doc.mapGrid().SizeX, 50);
        QCOMPARE(doc.mapGrid().SizeZ, 50);
        QVERIFY(doc.mapGrid().hasContent);
        QCOMPARE(doc.mapGrid().Cell(49, 49).C, 0.0);
        QVERIFY(!doc.undoGrid().hasContent);
        QCOMPARE(doc.state().nextEnemySlot, 0);
        QVERIFY(!doc.IsModified());
    }

    void SaveWritesTheMapTextAndOpenReadsItBack() {
        const auto doc = EditedDocument();
        doc->SetModified(true);
        const QString path = dir_.filePath("raised.zdm");
        QString error;
        QVERIFY(doc->OnSaveDocument(path, &error));
        QVERIFY(!doc->IsModified());
        QCOMPARE(doc->Title(), QString("raised.zdm"));
        QCOMPARE(ReadAll(path).toStdString(), mapfile::FormatMap(doc->mapGrid()));

        document::CzandrelEditorDoc reopened;
        QVERIFY2(reopened.OnOpenDocument(path, &error), qPrintable(error));
        QCOMPARE(reopened.mapGrid().Cell(0, 0).C, doc->mapGrid().Cell(0, 0).C);
        QCOMPARE(reopened.PathName(), QFileInfo(path).absoluteFilePath());
        QCOMPARE(mapfile::FormatMap(reopened.mapGrid()), mapfile::FormatMap(doc->mapGrid()));
    }

    // The whole open and save of the editor, not only the reader and writer: the document must not
    // bring a locale-dependent conversion of its own.
    void OpenAndSaveUnderACommaDecimalLocaleKeepEveryDigit() {
        const QString source = dir_.filePath("fractions.zdm");
        WriteAll(source,
                 "<ZanMap SizeX=\"2\" SizeZ=\"1\" numtex=\"1\" Tex_0=\"a.jpg\" NO_0_0=\"1.25\"\n"
                 " C_0_0=\"0.5\" SE_1_0=\"-3.75\" grav_0_0=\"1e-7\" artr_1_0=\"0.0078125\"\n"
                 " grav_1_0=\"-160.000000\" typew_1_0=\"2\" X_S=\"1\" Z_S=\"0\"/>\n");
        QByteArray inC;
        {
            const ScopedLocale c("C");
            inC = OpenAndSave(source, dir_.filePath("c.zdm"));
        }
        QVERIFY(inC.contains(" NO_0_0 =\"1.250000\"\n"));
        QVERIFY(inC.contains(" SE_1_0 =\"-3.750000\" \n C_1_0 =\"0.000000\" \n"));

        const ScopedLocale comma("it_IT.UTF-8");
        QVERIFY2(comma.active(), "the locale it_IT.UTF-8 is missing: run scripts/deps.sh");
        QCOMPARE(std::localeconv()->decimal_point, ",");
        QCOMPARE(OpenAndSave(source, dir_.filePath("it.zdm")), inC);
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
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(reasonNames), qPrintable(error));
        QCOMPARE(mapfile::FormatMap(doc->mapGrid()), before);
        QVERIFY(doc->PathName().isEmpty());
    }

    void ModifiedFlagSignalsOnlyOnChange() {
        document::CzandrelEditorDoc doc;
        QVERIFY(doc.OnNewDocument());
        QSignalSpy spy(&doc, &document::CzandrelEditorDoc::modifiedChanged);
        QSignalSpy views(&doc, &document::CzandrelEditorDoc::viewsNeedUpdate);
        // Moves and selections tell the views but leave what a save writes alone.
        const auto notifyOnly = [](tools::DocumentState&) {
            return tools::EditOutcome{true, true};
        };
        const auto raise = [](tools::DocumentState& state) {
            state.mapGrid.RaiseCell(1, 1, 0.5);
            return tools::EditOutcome{};
        };
        doc.Change(notifyOnly, this);
        QVERIFY(!doc.IsModified());
        doc.Change(raise, this);
        doc.Change(raise, nullptr);
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
        document::CzandrelEditorDoc doc;
        QVERIFY(doc.OnNewDocument());
        const auto paint = [](tools::DocumentState& state) {
            ++state.mapGrid.cells[1][1].typet;
            return tools::EditOutcome{true, false, true, "Pennello tile"};
        };
        doc.Change(paint, this);
        doc.Change(paint, this);
        QVERIFY(doc.history().Entries().empty());
        doc.Change([](tools::DocumentState&) { return tools::EditOutcome{}; }, this);
        doc.Change(
            [](tools::DocumentState& state) {
                state.mapGrid.RaiseCell(2, 2, 1.0);
                return tools::EditOutcome{};
            },
            nullptr, tools::kMapSizeName);
        QCOMPARE(doc.history().Entries().size(), std::size_t{2});
        QCOMPARE(doc.history().Entries().front().name, std::string("Pennello tile"));
        QCOMPARE(doc.history().Entries().back().name, std::string("Dimensioni mappa"));
        auto grid = std::make_unique<map::MapGrid>(doc.mapGrid());
        QVERIFY(doc.history().ReturnTo(1, *grid));
        QCOMPARE(grid->cells[1][1].typet, 2);
        QCOMPARE(grid->cells[2][2].C, 0.0);
    }

    void UntitledMapsAreNumberedFromTheDocumentName() {
        Manager manager(prompts_);
        auto& [recent, clipboard, docs] = manager;
        QCOMPARE(docs.NewDocument()->Title(), QString("zandrelEditor1"));
        document::CzandrelEditorDoc* second = docs.NewDocument();
        QCOMPARE(second->Title(), QString("zandrelEditor2"));
        QCOMPARE(second->clipboard(), &clipboard);
        QCOMPARE(docs.Documents().size(), std::size_t{2});
    }

    void ManagerOpensAFileOnceAndRemembersIt() {
        Manager manager(prompts_);
        auto& [recent, clipboard, docs] = manager;
        const QString path = dir_.filePath("once.zdm");
        QVERIFY(EditedDocument()->OnSaveDocument(path, nullptr));
        document::CzandrelEditorDoc* first = docs.OpenDocument(path);
        QVERIFY(first != nullptr);
        QCOMPARE(docs.OpenDocument(path), first);
        QCOMPARE(docs.Documents().size(), std::size_t{1});
        QCOMPARE(recent.Files().front(), QFileInfo(path).absoluteFilePath());
    }

    void FailedSaveIsReportedAndTheMapStaysUnsaved() {
        Manager manager(prompts_);
        auto& [recent, clipboard, docs] = manager;
        const QString path = dir_.filePath("kept.zdm");
        WriteAll(path, "old content");
        document::CzandrelEditorDoc* doc = docs.OpenDocument(path);
        QVERIFY(doc == nullptr);
        doc = docs.NewDocument();
        doc->SetPathName(path);
        doc->SetModified(true);
        // Save as into a folder that does not exist: reported, and nothing else changes.
        prompts_.errors.clear();
        prompts_.savePath = dir_.filePath("missing/elsewhere.zdm");
        QVERIFY(!docs.SaveAs(doc));
        QCOMPARE(prompts_.errors.size(), 1);
        QVERIFY(prompts_.errors.front().contains("elsewhere.zdm"));
        QCOMPARE(doc->PathName(), QFileInfo(path).absoluteFilePath());
        QVERIFY(doc->IsModified());
        QCOMPARE(ReadAll(path), QByteArray("old content"));
    }

    void SaveModifiedAsksOnlyForAModifiedMap() {
        Manager manager(prompts_);
        auto& [recent, clipboard, docs] = manager;
        document::CzandrelEditorDoc* doc = docs.NewDocument();
        QVERIFY(docs.SaveModified(doc));
        QVERIFY(prompts_.saveQuestions.isEmpty());

        doc->SetModified(true);
        prompts_.saveAnswer = app::SaveAnswer::Cancel;
        QVERIFY(!docs.SaveModified(doc));
        prompts_.saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(docs.SaveModified(doc));
        QCOMPARE(prompts_.saveQuestions, QStringList({"zandrelEditor1", "zandrelEditor1"}));
        QVERIFY(doc->IsModified());

        // Sì on an untitled map asks for a name; cancelling that keeps the map open.
        prompts_.saveAnswer = app::SaveAnswer::Save;
        prompts_.savePath.clear();
        QVERIFY(!docs.SaveModified(doc));
        QCOMPARE(QFileInfo(prompts_.lastSuggestedPath).fileName(), QString("zandrelEditor1.zdm"));
        prompts_.savePath = dir_.filePath("named.zdm");
        QVERIFY(docs.SaveModified(doc));
        QVERIFY(!doc->IsModified());
        QVERIFY(QFile::exists(prompts_.savePath));
        QCOMPARE(prompts_.savePathRequests, 2);
    }

private:
    QTemporaryDir dir_;
    gui_test::FakePrompts prompts_;
};

QTEST_GUILESS_MAIN(DocumentTest)
#include "document_test.moc"
