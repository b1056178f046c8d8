#include "app/ShellCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>
#include <array>

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/MapCheckDialog.h"
#include "app/MapDocks.h"
#include "app/MapImageFiles.h"
#include "app/MapSizeDialog.h"
#include "app/RecentFileList.h"
#include "document/CommandIds.h"

namespace zandrel::app {

namespace {

namespace cmd = document::cmd;
using document::CommandState;
using Row = document::CommandRow<ShellCommands>;

CommandState Always(const ShellCommands& /*shell*/) {
    return {true, false};
}

CommandState WithMap(const ShellCommands& shell) {
    return {shell.frame().ActiveFrame() != nullptr, false};
}

CommandState ToolbarShown(const ShellCommands& shell) {
    return {true, !shell.frame().ToolBar()->isHidden()};
}

CommandState StatusBarShown(const ShellCommands& shell) {
    return {true, !shell.frame().statusBar()->isHidden()};
}

template <QDockWidget* (MapDocks::*Dock)() const>
CommandState DockShown(const ShellCommands& shell) {
    return {true, MapDocks::IsShown((shell.frame().Docks().*Dock)())};
}

template <QDockWidget* (MapDocks::*Dock)() const>
void ToggleDock(ShellCommands& shell) {
    MapDocks::Toggle((shell.frame().Docks().*Dock)());
}

void NewFile(ShellCommands& shell) {
    shell.docs().NewDocument();
}

void OpenFile(ShellCommands& shell) {
    const CChildFrame* active = shell.frame().ActiveFrame();
    if (document::CzandrelEditorDoc* doc =
            shell.docs().OpenWithDialog(active != nullptr ? active->GetDocument() : nullptr)) {
        shell.frame().ShowDocument(doc);
    }
}

void About(ShellCommands& shell) {
    CAboutDlg about(&shell.frame());
    about.exec();
}

void Exit(ShellCommands& shell) {
    shell.frame().close();
}

void ShowMapCheck(ShellCommands& shell) {
    MapCheckDialog::ShowFor(shell.frame());
}

void ToggleToolbar(ShellCommands& shell) {
    QToolBar* toolBar = shell.frame().ToolBar();
    toolBar->setVisible(toolBar->isHidden());
}

void ToggleStatusBar(ShellCommands& shell) {
    QStatusBar* statusBar = shell.frame().statusBar();
    statusBar->setVisible(statusBar->isHidden());
}

// A command on the active map window; without one it does nothing (its rule disables it).
template <void (*Run)(ShellCommands&, CChildFrame&)>
void OnActive(ShellCommands& shell) {
    if (CChildFrame* active = shell.frame().ActiveFrame()) {
        Run(shell, *active);
    }
}

void CloseFile(ShellCommands& shell, CChildFrame& active) {
    shell.frame().CloseDocument(active.GetDocument());
}

void SaveFile(ShellCommands& shell, CChildFrame& active) {
    shell.docs().Save(active.GetDocument());
}

void SaveFileAs(ShellCommands& shell, CChildFrame& active) {
    shell.docs().SaveAs(active.GetDocument());
}

void ExportImage(ShellCommands& shell, CChildFrame& active) {
    MapImageFiles::ExportViewImage(active, shell.frame().Prompts(), &shell.frame());
}

void ImportHeightmap(ShellCommands& shell, CChildFrame& active) {
    constexpr int kShownMilliseconds = 8000;
    if (const auto range =
            MapImageFiles::ImportHeightmap(active, shell.frame().Prompts(), &shell.frame())) {
        shell.frame().statusBar()->showMessage(MapImageFiles::ImportedText(*range),
                                               kShownMilliseconds);
    }
}

void ChangeMapSize(ShellCommands& shell, CChildFrame& active) {
    MapSizeDialog::ResizeActiveMap(active, shell.frame().Prompts(), &shell.frame());
}

void NewWindow(ShellCommands& shell, CChildFrame& active) {
    shell.frame().OpenFrame(active.GetDocument());
}

void Cascade(ShellCommands& shell, CChildFrame& /*active*/) {
    shell.frame().CascadeWindows();
}

void Tile(ShellCommands& shell, CChildFrame& /*active*/) {
    shell.frame().MdiArea()->tileSubWindows();
}

void Arrange(ShellCommands& shell, CChildFrame& /*active*/) {
    shell.ArrangeIcons();
}

// Two panes: forward and back both reach the other one.
void OtherPane(ShellCommands& /*shell*/, CChildFrame& active) {
    active.ActivateNextPane();
}

constexpr std::array kRows = {
    Row{cmd::kFileNew, &Always, &NewFile},
    Row{cmd::kFileOpen, &Always, &OpenFile},
    Row{cmd::kAppAbout, &Always, &About},
    Row{cmd::kAppExit, &Always, &Exit},
    Row{cmd::kViewToolbar, &ToolbarShown, &ToggleToolbar},
    Row{cmd::kViewStatusBar, &StatusBarShown, &ToggleStatusBar},
    Row{cmd::kViewOverview, &DockShown<&MapDocks::OverviewDock>,
        &ToggleDock<&MapDocks::OverviewDock>},
    Row{cmd::kViewHistory, &DockShown<&MapDocks::HistoryDock>, &ToggleDock<&MapDocks::HistoryDock>},
    Row{cmd::kFileClose, &WithMap, &OnActive<&CloseFile>},
    Row{cmd::kMapCheck, &WithMap, &ShowMapCheck},
    Row{cmd::kFileSave, &WithMap, &OnActive<&SaveFile>},
    Row{cmd::kFileSaveAs, &WithMap, &OnActive<&SaveFileAs>},
    Row{cmd::kFileExportImage, &WithMap, &OnActive<&ExportImage>},
    Row{cmd::kFileImportHeightmap, &WithMap, &OnActive<&ImportHeightmap>},
    Row{cmd::kMapSize, &WithMap, &OnActive<&ChangeMapSize>},
    Row{cmd::kWindowNew, &WithMap, &OnActive<&NewWindow>},
    Row{cmd::kWindowCascade, &WithMap, &OnActive<&Cascade>},
    Row{cmd::kWindowTile, &WithMap, &OnActive<&Tile>},
    Row{cmd::kWindowArrange, &WithMap, &OnActive<&Arrange>},
    Row{cmd::kNextPane, &WithMap, &OnActive<&OtherPane>},
    Row{cmd::kPrevPane, &WithMap, &OnActive<&OtherPane>},
};

constexpr document::CommandRows<ShellCommands> kShellCommands{kRows};

bool IsRecentFile(int id) {
    return id >= cmd::kFileMru1 && id <= cmd::kFileMruLast;
}

}  // namespace

ShellCommands::ShellCommands(CMainFrame& frame, DocumentManager& docs, RecentFileList& recent)
    : frame_(frame), docs_(docs), recent_(recent) {}

bool ShellCommands::UpdateCommand(int id, CommandState& state) {
    // The recent files are one row each in effect: enabled while the list reaches them.
    if (IsRecentFile(id)) {
        state = {id - cmd::kFileMru1 < recent_.Files().size(), false};
        return true;
    }
    return kShellCommands.Update(*this, id, state);
}

bool ShellCommands::ExecuteCommand(int id) {
    if (IsRecentFile(id)) {
        OpenRecent(id - cmd::kFileMru1);
        return true;
    }
    return kShellCommands.Execute(*this, id);
}

void ShellCommands::OpenRecent(int index) {
    if (index >= recent_.Files().size()) {
        return;
    }
    const QString path = recent_.Files().at(index);
    if (document::CzandrelEditorDoc* doc = docs_.OpenDocument(path)) {
        frame_.ShowDocument(doc);
    } else {
        recent_.Remove(path);
        frame_.RecentFilesChanged();
    }
}

void ShellCommands::ArrangeIcons() {
    QMdiArea* area = frame_.MdiArea();
    int x = 0;
    for (QMdiSubWindow* window : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!window->isMinimized()) {
            continue;
        }
        const QSize size = window->size();
        if (x > 0 && x + size.width() > area->viewport()->width()) {
            x = 0;
        }
        window->move(x, area->viewport()->height() - size.height());
        x += size.width();
    }
}

}  // namespace zandrel::app
