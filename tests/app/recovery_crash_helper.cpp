// Plays an editor that crashes after an edit: starts the application on the map named by its
// argument, makes the recovery tests' edit, and once its recovery copy is on disk prints
// "ready" and waits to be killed.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "RecoveryEdit.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "app/RecoveryTimer.h"
#include "document/CzandrelEditorDoc.h"

int main(int argc, char* argv[]) {
    using namespace zandrel;
    if (argc != 2) {
        std::fputs("usage: recovery_crash_helper MAP\n", stderr);
        return 2;
    }
    app::UseEditorSurfaceFormat();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QString::fromUtf8(app::CzandrelEditorApp::kSettingsKey));
    QApplication::setApplicationName(QString::fromLatin1(app::CzandrelEditorApp::kAppName));

    app::CzandrelEditorApp editor;
    if (!editor.InitInstance({QString::fromLocal8Bit(argv[1])})) {
        return 1;
    }
    document::CzandrelEditorDoc* doc = editor.Documents().Documents().front().get();
    gui_test::ApplyRecoveryEdit(*doc);
    const QString entry = editor.RecoveryCopies().CopyPath(doc).replace(QStringLiteral(".zdm"),
                                                                        QStringLiteral(".json"));
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QFile::exists(entry)) {
            poll.stop();
            std::puts("ready");
            std::fflush(stdout);
        }
    });
    poll.start(20);
    return QApplication::exec();
}
