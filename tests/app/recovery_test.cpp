#include <signal.h>

#include <QProcess>
#include <QtTest>

#include "FileBytes.h"
#include "GuiMapEditor.h"
#include "MouseSender.h"
#include "RecoveryEdit.h"
#include "app/RecoveryStore.h"
#include "app/RecoveryTimer.h"
#include "mapfile/MapWriter.h"

Q_DECLARE_METATYPE(zandrel::app::RecoveryAnswer)

using namespace zandrel;
using app::RecoveryAnswer;
using gui_test::ReadAll;
using gui_test::WriteAll;

namespace {

QString EntryOf(QString copyPath) {
    return copyPath.replace(QStringLiteral(".zdm"), QStringLiteral(".json"));
}

}  // namespace

class RecoveryTest : public gui_test::EditorTest {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setOrganizationName(QString::fromUtf8(app::CzandrelEditorApp::kSettingsKey));
        QApplication::setApplicationName(QString::fromLatin1(app::CzandrelEditorApp::kAppName));
    }

    // Every case gets its own data folder, as a fresh user would have.
    void init() {
        scratch_ = std::make_unique<QTemporaryDir>();
        QVERIFY(scratch_->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(scratch_->filePath("data")));
        document::CzandrelEditorDoc doc;
        doc.OnNewDocument();
        gui_test::ApplyRecoveryEdit(doc);
        edited_ = std::make_unique<map::MapGrid>(doc.mapGrid());
    }

    // Gone before the next case's folder, as a run that quit.
    void cleanup() { editor_.reset(); }

    // A modified map gets its copy once the interval has passed and the user is idle (that the
    // copy is whole is the killed editor's case); saving, closing without saving and quitting
    // each take it away.
    void CopiesFollowTheIntervalAndGoOnSaveCloseAndQuit() {
        QVERIFY(StartAnswering(RecoveryAnswer::Ignore));
        app::RecoveryTimer& timer = editor_->app->RecoveryCopies();
        timer.SetInterval(150);
        timer.SetIdleDelay(10);
        document::CzandrelEditorDoc* saved = FirstMap();
        document::CzandrelEditorDoc* closed = editor_->app->Documents().NewDocument();
        const QString savedCopy = timer.CopyPath(saved);
        const QString closedCopy = timer.CopyPath(closed);
        gui_test::RunIdleLoop(300);
        QVERIFY2(!QFile::exists(savedCopy), "an unmodified map needs no copy");

        QElapsedTimer sinceEdit;
        sinceEdit.start();
        gui_test::ApplyRecoveryEdit(*saved);
        gui_test::ApplyRecoveryEdit(*closed);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(EntryOf(savedCopy)), 5000);
        QVERIFY(sinceEdit.elapsed() >= 150);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(EntryOf(closedCopy)), 5000);
        QVERIFY(ReadAll(EntryOf(savedCopy)).contains("\"original\": \"\""));

        editor_->prompts->savePath = scratch_->filePath("saved.zdm");
        QVERIFY(editor_->app->Documents().Save(saved));
        QVERIFY(!QFile::exists(savedCopy) && !QFile::exists(EntryOf(savedCopy)));
        editor_->prompts->saveAnswer = app::SaveAnswer::Discard;
        QVERIFY(editor_->frame().CloseDocument(closed));
        QCOMPARE(editor_->prompts->saveQuestions.size(), 1);
        QTRY_VERIFY(!QFile::exists(closedCopy) && !QFile::exists(EntryOf(closedCopy)));

        // Input postpones the copy until an idle moment. Generous: a view's repaint after the
        // edit takes a while under the sanitizers, and the moves below must come more often.
        timer.SetInterval(10);
        timer.SetIdleDelay(1500);
        gui_test::ApplyRecoveryEdit(*saved);
        QWidget target;
        for (int i = 0; i < 25; ++i) {
            gui_test::MouseSender{&target}.Move(Qt::NoButton, QPoint(i, i));
            gui_test::RunIdleLoop(30);
        }
        QVERIFY(!QFile::exists(savedCopy));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(EntryOf(savedCopy)), 5000);
        const QString folder = editor_->app->Recovery().Folder();
        editor_.reset();
        QVERIFY(QDir(folder).isEmpty(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    // A live run's copies are never offered, a dead run's are. Of a dead run's files only whole
    // pairs are offered, one with a record that cannot name the original as untitled; half
    // pairs are cleared, and links and files not of the editor are left alone.
    void OnlyTheWholePairsOfADeadRunAreOffered() {
        app::RecoveryStore seeker;
        auto alive = std::make_unique<app::RecoveryStore>();
        const int slot = alive->NewSlot();
        QVERIFY(alive->Write(slot, *edited_, "/maps/a.zdm", nullptr));
        const QString aliveCopy = alive->CopyPath(slot);
        QVERIFY(seeker.FindAbandoned().empty());
        seeker.ReleaseAbandoned();
        alive.reset();  // gone without removing its copies, as a killed run is: offered below

        const QDir folder(seeker.Folder());
        const QString dead = folder.filePath("0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0");
        const QByteArray map = QByteArray::fromStdString(mapfile::FormatMap(*edited_));
        WriteAll(dead + "-1.zdm", map);                     // map, no record
        WriteAll(dead + "-2.json", "{\"original\":\"\"}");  // record, no map
        WriteAll(dead + "-3.zdm", map);                     // record unreadable
        WriteAll(dead + "-3.json", "{not json");
        WriteAll(dead + "-4.zdm", map);  // relative original
        WriteAll(dead + "-4.json", "{\"original\":\"../x.zdm\"}");
        QVERIFY(QFile::link("/etc/passwd", dead + "-5.zdm"));
        WriteAll(dead + "-5.json", "{\"original\":\"/etc/passwd\"}");
        WriteAll(folder.filePath("notes.txt"), "mine");

        QSet<QString> offered;
        for (const auto& copy : seeker.FindAbandoned()) {
            offered.insert(copy.mapPath + "=" + copy.originalPath);
        }
        QCOMPARE(offered,
                 QSet<QString>({dead + "-3.zdm=", dead + "-4.zdm=", aliveCopy + "=/maps/a.zdm"}));
        seeker.ReleaseAbandoned();
        QVERIFY(!QFile::exists(dead + "-1.zdm"));
        QVERIFY(!QFile::exists(dead + "-2.json"));
        QVERIFY(QFileInfo(dead + "-5.zdm").isSymLink());  // a link is never ours to delete
        QVERIFY(QFile::exists(folder.filePath("notes.txt")));
    }

    void TheAnswerDecidesWhatBecomesOfACrashedRunsCopies_data() {
        QTest::addColumn<RecoveryAnswer>("answer");
        QTest::addColumn<int>("offeredNextTime");
        QTest::newRow("Recupera") << RecoveryAnswer::Recover << 0;
        QTest::newRow("Ignora") << RecoveryAnswer::Ignore << 0;
        QTest::newRow("box closed") << RecoveryAnswer::Later << 2;
    }

    // Recupera reopens each map under its original path, marked modified, in place of the new
    // map and without touching the original file; Ignora deletes the copies; a closed box keeps
    // them for the next start.
    void TheAnswerDecidesWhatBecomesOfACrashedRunsCopies() {
        QFETCH(RecoveryAnswer, answer);
        QFETCH(int, offeredNextTime);
        const QString original = scratch_->filePath("level.zdm");
        WriteAll(original, "original bytes, never touched");
        {
            app::RecoveryStore crashed;  // a run that dies without removing its copies
            QVERIFY(crashed.Write(crashed.NewSlot(), *edited_, original, nullptr));
            QVERIFY(crashed.Write(crashed.NewSlot(), *edited_, QString(), nullptr));
        }
        QVERIFY(StartAnswering(answer));
        QCOMPARE(editor_->prompts->recoveryQuestions.size(), 1);
        QCOMPARE(editor_->prompts->recoveryQuestions[0].size(), 2);
        QVERIFY(editor_->prompts->recoveryQuestions[0].contains(original));
        const bool recovered = answer == RecoveryAnswer::Recover;
        const auto& docs = editor_->app->Documents().Documents();
        QCOMPARE(docs.size(), recovered ? size_t{2} : size_t{1});
        for (const auto& doc : docs) {
            QCOMPARE(doc->IsModified(), recovered);
            QVERIFY(!recovered ||
                    mapfile::FormatMap(doc->mapGrid()) == mapfile::FormatMap(*edited_));
            // The other one is untitled, and numbered as a new map would be.
            QVERIFY(doc->PathName() == original || doc->Title() == "zandrelEditor1");
        }
        QCOMPARE(ReadAll(original), QByteArray("original bytes, never touched"));
        gui_test::RunIdleLoop();
        QCOMPARE(editor_->window(0)->windowTitle().endsWith('*'), recovered);
        editor_.reset();
        QCOMPARE(static_cast<int>(app::RecoveryStore().FindAbandoned().size()), offeredNextTime);
    }

    // The whole road: an editor process is killed after an edit and the recovery interval,
    // the next start recovers, and the map equals the edited one.
    void KilledEditorsEditIsRecoveredOnTheNextStart() {
        const QString original = scratch_->filePath("killed.zdm");
        WriteAll(original, QByteArray::fromStdString(mapfile::FormatMap(map::MapGrid(50, 50))));
        QProcess crashing;
        // The data folder is this case's: init() set it for this process and its children.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", scratch_->filePath("config"));
        env.insert("ZANDREL_RECOVERY_INTERVAL_MS", "200");
        env.insert("ZANDREL_RECOVERY_IDLE_MS", "50");
        crashing.setProcessEnvironment(env);
        crashing.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        crashing.start(QCoreApplication::applicationDirPath() + "/recovery_crash_helper",
                       {original});
        QVERIFY2(crashing.waitForStarted(), qPrintable(crashing.errorString()));
        QDeadlineTimer deadline(120000);
        while (!crashing.readAllStandardOutput().contains("ready")) {
            QVERIFY2(!deadline.hasExpired() && crashing.state() == QProcess::Running,
                     "the editor never wrote its recovery copy");
            crashing.waitForReadyRead(1000);
        }
        QCOMPARE(::kill(static_cast<pid_t>(crashing.processId()), SIGKILL), 0);
        QVERIFY(crashing.waitForFinished());
        QCOMPARE(crashing.exitStatus(), QProcess::CrashExit);

        // What Recupera does with a copy is the case above's; here, that the copy was whole.
        QVERIFY(StartAnswering(RecoveryAnswer::Recover));
        QCOMPARE(editor_->app->Documents().Documents().size(), size_t{1});
        QCOMPARE(FirstMap()->PathName(), original);
        QCOMPARE(mapfile::FormatMap(FirstMap()->mapGrid()), mapfile::FormatMap(*edited_));
    }

private:
    // The editor started with answer ready for the recovery question; false when it did not.
    bool StartAnswering(RecoveryAnswer answer) {
        Start({}, false);
        editor_->prompts->recoveryAnswer = answer;
        return editor_->app->InitInstance({});
    }
    document::CzandrelEditorDoc* FirstMap() {
        return editor_->app->Documents().Documents().front().get();
    }

    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<map::MapGrid> edited_;  // a new map after the recovery tests' edit
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
