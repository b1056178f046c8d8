#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class QTranslator;

#include "app/UserPrompts.h"
#include "map/MapGrid.h"

namespace zandrel::app {

class CMainFrame;
class DocumentManager;
class RecentFileList;
class RecoveryStore;
class RecoveryTimer;

// The application: owns the clipboard shared by every map, the open documents, the recent-file
// list and the main window, and carries out the command line at start-up.
class CzandrelEditorApp : public QObject {
    Q_OBJECT

public:
    // Organisation and application names under which the settings (the recent files) live;
    // main() gives them to the QApplication before the application object reads any setting.
    static constexpr auto kSettingsKey =
        "Applicazioni locali generate tramite la Creazione guidata di applicazioni locali";
    static constexpr auto kAppName = "zandrelEditor";

    // prompts answers the shell's questions; null means the real dialogs.
    explicit CzandrelEditorApp(std::unique_ptr<UserPrompts> prompts = nullptr);
    ~CzandrelEditorApp() override;

    // Builds the main window, offers the recovery copies a crashed run left, and carries out
    // arguments (the program's arguments without its name): none opens a new map (unless maps
    // were recovered), paths open every map named, the last one active. False when none of them
    // opened and nothing was recovered; the main window is shown only on success.
    bool InitInstance(const QStringList& arguments);

    map::MapGrid& clipboard() { return *clipboard_; }
    CMainFrame& MainFrame() { return *mainFrame_; }
    DocumentManager& Documents() { return *docs_; }
    RecentFileList& RecentFiles() { return *recent_; }
    RecoveryStore& Recovery() { return *recoveryStore_; }
    RecoveryTimer& RecoveryCopies() { return *recoveryTimer_; }

private:
    // Asks about the copies of runs that ended without a clean exit; the number of maps
    // reopened from them.
    int OfferRecovery();

    // Qt's own texts (window menus, file dialogs, message box buttons) in Italian, when the
    // system has the catalogue; installed before any window exists.
    std::unique_ptr<QTranslator> qtTexts_;
    // Heap-held: a grid is a few hundred kilobytes.
    std::unique_ptr<map::MapGrid> clipboard_;
    std::unique_ptr<UserPrompts> prompts_;
    std::unique_ptr<RecentFileList> recent_;
    std::unique_ptr<RecoveryStore> recoveryStore_;
    std::unique_ptr<DocumentManager> docs_;
    std::unique_ptr<RecoveryTimer> recoveryTimer_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace zandrel::app
