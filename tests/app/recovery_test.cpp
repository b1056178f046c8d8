#include <signal.h>

#include <QDir>
#include <QFile>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

#include "EventLoop.h"
#include "FakePrompts.h"
#include "FileBytes.h"
#include "RecoveryEdit.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/RecentFileList.h"
#include "app/RecoveryStore.h"
#include "app/RecoveryTimer.h"
#include "document/CzandrelEditorDoc.h"
#include "mapfile/MapWriter.h"

Q_DECLARE_METATYPE(zandrel::app::RecoveryAnswer)

using namespace zandrel;
using gui_test::ReadAll;
using gui_test::WriteAll;

namespace {

QString EntryOf(QString copyPath) {
    return copyPath.replace(QStringLiteral(".zdm"), QStringLiteral(".json"));
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// What a run that died left: copies of the given maps (original path, grid) and no lock held.
void LeaveCopiesOfCrashedRun(const std::vector<std::pair<QString, const map::MapGrid*>>& maps) {
    app::RecoveryStore crashed;
    for (const auto& [original, grid] : maps) {
        QString error;
        QVERIFY2(crashed.Write(crashed.NewSlot(), *grid, original, &error), qPrintable(error));
    }
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { app::UseEditorSurfaceFormat(); }

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
        edited_ = std::make_unique<map::MapGrid>(50, 50);
        document::CzandrelEditorDoc doc;
        doc.OnNewDocument();
        gui_test::ApplyRecoveryEdit(doc);
        *edited_ = doc.mapGrid();
    }

    void ModifiedMapGetsACopyAfterTheIntervalAndSavingRemovesIt() {
        gui_test::FakePrompts prompts;
        app::RecentFileList recent;
        const auto clipboard = std::make_unique<map::MapGrid>();
        app::RecoveryStore store;
        app::DocumentManager docs(prompts, recent, *clipboard);
        app::RecoveryTimer timer(store, docs);
        timer.SetInterval(150);
        timer.SetIdleDelay(10);
        document::CzandrelEditorDoc* doc = docs.NewDocument();
        const QString copy = timer.CopyPath(doc);
        gui_test::RunIdleLoop(300);
        QVERIFY2(!QFile::exists(copy), "an unmodified map needs no copy");

        QElapsedTimer sinceEdit;
        sinceEdit.start();
        gui_test::ApplyRecoveryEdit(*doc);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(EntryOf(copy)), 5000);
        QVERIFY(sinceEdit.elapsed() >= 150);
        QCOMPARE(ReadAll(copy).toStdString(), mapfile::FormatMap(doc->mapGrid()));
        QVERIFY(ReadAll(EntryOf(copy)).contains("\"original\": \"\""));

        prompts.savePath = scratch_->filePath("saved.zdm");
        QVERIFY(docs.Save(doc));
        QVERIFY(!QFile::exists(copy));
        QVERIFY(!QFile::exists(EntryOf(copy)));
    }

    void InputPostponesTheCopyUntilAnIdleMoment() {
        app::CzandrelEditorApp editor(std::make_unique<gui_test::FakePrompts>());
        QVERIFY(editor.InitInstance({}));
        editor.RecoveryCopies().SetInterval(10);
        // Generous: a view's repaint after the edit takes a while under the sanitizers, and the
        // moves below must come more often than this.
        editor.RecoveryCopies().SetIdleDelay(1500);
        document::CzandrelEditorDoc* doc = editor.Documents().Documents().front().get();
        gui_test::RunIdleLoop(500);
        gui_test::ApplyRecoveryEdit(*doc);
        QWidget target;
        for (int i = 0; i < 25; ++i) {
            QMouseEvent move(QEvent::MouseMove, QPointF(i, i), QPointF(i, i), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&target, &move);
            gui_test::RunIdleLoop(30);
        }
        QVERIFY(!QFile::exists(editor.RecoveryCopies().CopyPath(doc)));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(editor.RecoveryCopies().CopyPath(doc)), 5000);
    }

    void ClosingWithoutSavingAndQuittingRemoveTheCopies() {
        auto owned = std::make_unique<gui_test::FakePrompts>();
        gui_test::FakePrompts& prompts = *owned;
        prompts.saveAnswer = app::SaveAnswer::Discard;
        auto editor = std::make_unique<app::CzandrelEditorApp>(std::move(owned));
        QVERIFY(editor->InitInstance({}));
        editor->RecoveryCopies().SetInterval(10);
        editor->RecoveryCopies().SetIdleDelay(10);
        document::CzandrelEditorDoc* closed = editor->Documents().Documents().front().get();
        document::CzandrelEditorDoc* kept = editor->Documents().NewDocument();
        gui_test::ApplyRecoveryEdit(*closed);
        gui_test::ApplyRecoveryEdit(*kept);
        const QString closedCopy = editor->RecoveryCopies().CopyPath(closed);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(EntryOf(closedCopy)), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(editor->RecoveryCopies().CopyPath(kept)), 5000);

        QVERIFY(editor->MainFrame().CloseDocument(closed));
        QCOMPARE(prompts.saveQuestions.size(), 1);
        QTRY_VERIFY(!QFile::exists(closedCopy));
        QVERIFY(!QFile::exists(EntryOf(closedCopy)));

        const QString folder = editor->Recovery().Folder();
        editor.reset();
        QCOMPARE(FilesIn(folder), QStringList());
    }

    void ALiveRunsCopiesAreNeverOfferedAndADeadRunsAre() {
        app::RecoveryStore seeker;
        auto alive = std::make_unique<app::RecoveryStore>();
        QVERIFY(alive->Write(alive->NewSlot(), *edited_, "/maps/a.zdm", nullptr));
        QVERIFY(seeker.FindAbandoned().empty());
        seeker.ReleaseAbandoned();

        // Gone without removing its copies, as a killed run is.
        alive.reset();
        const auto found = seeker.FindAbandoned();
        QCOMPARE(found.size(), size_t{1});
        QCOMPARE(found[0].originalPath, QString("/maps/a.zdm"));
        QCOMPARE(ReadAll(found[0].mapPath).toStdString(), mapfile::FormatMap(*edited_));
    }

    void HalfPairsAreClearedAndForeignFilesLeftAlone() {
        app::RecoveryStore seeker;
        const QDir folder(seeker.Folder());
        const QString dead = QStringLiteral("0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0");
        const QByteArray map = QByteArray::fromStdString(mapfile::FormatMap(*edited_));
        WriteAll(folder.filePath(dead + "-1.zdm"), map);                     // map, no record
        WriteAll(folder.filePath(dead + "-2.json"), "{\"original\":\"\"}");  // record, no map
        WriteAll(folder.filePath(dead + "-3.zdm"), map);                     // record unreadable
        WriteAll(folder.filePath(dead + "-3.json"), "{not json");
        WriteAll(folder.filePath(dead + "-4.zdm"), map);  // relative original
        WriteAll(folder.filePath(dead + "-4.json"), "{\"original\":\"../x.zdm\"}");
        QVERIFY(QFile::link("/etc/passwd", folder.filePath(dead + "-5.zdm")));
        WriteAll(folder.filePath(dead + "-5.json"), "{\"original\":\"/etc/passwd\"}");
        WriteAll(folder.filePath("notes.txt"), "mine");

        const auto found = seeker.FindAbandoned();
        QStringList offered;
        for (const auto& copy : found) {
            offered.append(QFileInfo(copy.mapPath).fileName() + "=" + copy.originalPath);
        }
        QCOMPARE(offered, QStringList({dead + "-3.zdm=", dead + "-4.zdm="}));
        seeker.ReleaseAbandoned();
        const QStringList left = FilesIn(folder.path());
        QVERIFY(!left.contains(dead + "-1.zdm"));
        QVERIFY(!left.contains(dead + "-2.json"));
        QVERIFY(left.contains(dead + "-5.zdm"));  // a link is never ours to delete
        QVERIFY(left.contains("notes.txt"));
    }

    void RecuperaReopensEachMapUnderItsOriginalPathMarkedModified() {
        const QString original = scratch_->filePath("level.zdm");
        WriteAll(original, "original bytes, never touched");
        LeaveCopiesOfCrashedRun({{original, edited_.get()}, {QString(), edited_.get()}});

        auto owned = std::make_unique<gui_test::FakePrompts>();
        gui_test::FakePrompts& prompts = *owned;
        prompts.recoveryAnswer = app::RecoveryAnswer::Recover;
        app::CzandrelEditorApp editor(std::move(owned));
        QVERIFY(editor.InitInstance({}));
        QCOMPARE(prompts.recoveryQuestions.size(), 1);
        QCOMPARE(prompts.recoveryQuestions[0].size(), 2);
        QVERIFY(prompts.recoveryQuestions[0].contains(original));

        const auto& docs = editor.Documents().Documents();
        QCOMPARE(docs.size(), size_t{2});  // and no new empty map beside them
        QStringList paths;
        for (const auto& doc : docs) {
            QVERIFY(doc->IsModified());
            QCOMPARE(mapfile::FormatMap(doc->mapGrid()), mapfile::FormatMap(*edited_));
            paths.append(doc->PathName());
        }
        QVERIFY(paths.contains(original) && paths.contains(QString()));
        QCOMPARE(ReadAll(original), QByteArray("original bytes, never touched"));
        gui_test::RunIdleLoop();
        for (const app::CChildFrame* frame : editor.MainFrame().Frames()) {
            QVERIFY(frame->parentWidget()->windowTitle().endsWith('*'));
        }
        // Only this run's own copies are left; the crashed run's are gone.
        for (const QString& name : FilesIn(editor.Recovery().Folder())) {
            QVERIFY2(name.startsWith(editor.Recovery().Session()), qPrintable(name));
        }
    }

    void IgnoraDeletesTheCopiesAndAClosedBoxKeepsThem_data() {
        QTest::addColumn<app::RecoveryAnswer>("answer");
        QTest::addColumn<int>("offeredNextTime");
        QTest::newRow("Ignora") << app::RecoveryAnswer::Ignore << 0;
        QTest::newRow("box closed") << app::RecoveryAnswer::Later << 1;
    }

    void IgnoraDeletesTheCopiesAndAClosedBoxKeepsThem() {
        QFETCH(app::RecoveryAnswer, answer);
        QFETCH(int, offeredNextTime);
        LeaveCopiesOfCrashedRun({{QString(), edited_.get()}});
        auto owned = std::make_unique<gui_test::FakePrompts>();
        owned->recoveryAnswer = answer;
        {
            app::CzandrelEditorApp editor(std::move(owned));
            QVERIFY(editor.InitInstance({}));
            QCOMPARE(editor.Documents().Documents().size(), size_t{1});
            QVERIFY(!editor.Documents().Documents().front()->IsModified());
        }
        app::RecoveryStore next;
        QCOMPARE(static_cast<int>(next.FindAbandoned().size()), offeredNextTime);
    }

    // The whole road: an editor process is killed after an edit and the recovery interval,
    // the next start recovers, and the map equals the edited one.
    void KilledEditorsEditIsRecoveredOnTheNextStart() {
        const QString original = scratch_->filePath("killed.zdm");
        const auto fresh = std::make_unique<map::MapGrid>(50, 50);
        WriteAll(original, QByteArray::fromStdString(mapfile::FormatMap(*fresh)));
        const QByteArray originalBytes = ReadAll(original);
        const QString editedText = scratch_->filePath("edited.txt");

        QProcess crashing;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", scratch_->filePath("data"));
        env.insert("XDG_CONFIG_HOME", scratch_->filePath("config"));
        env.insert("ZANDREL_RECOVERY_INTERVAL_MS", "200");
        env.insert("ZANDREL_RECOVERY_IDLE_MS", "50");
        crashing.setProcessEnvironment(env);
        crashing.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        crashing.start(QCoreApplication::applicationDirPath() + "/recovery_crash_helper",
                       {original, editedText});
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

        auto owned = std::make_unique<gui_test::FakePrompts>();
        owned->recoveryAnswer = app::RecoveryAnswer::Recover;
        app::CzandrelEditorApp editor(std::move(owned));
        QVERIFY(editor.InitInstance({}));
        QCOMPARE(editor.Documents().Documents().size(), size_t{1});
        document::CzandrelEditorDoc& doc = *editor.Documents().Documents().front();
        QCOMPARE(doc.PathName(), original);
        QVERIFY(doc.IsModified());
        QCOMPARE(QByteArray::fromStdString(mapfile::FormatMap(doc.mapGrid())), ReadAll(editedText));
        QVERIFY(ReadAll(editedText) != originalBytes);
        QCOMPARE(ReadAll(original), originalBytes);
    }

private:
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<map::MapGrid> edited_;
};

QTEST_MAIN(RecoveryTest)
#include "recovery_test.moc"
