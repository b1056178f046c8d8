#include "app/ShellCommands.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandIds.h"
#include "app/DocumentManager.h"
#include "app/RecentFileList.h"

namespace zandrel::app {

ShellCommands::ShellCommands(CMainFrame& frame, DocumentManager& docs, RecentFileList& recent)
    : frame_(frame), docs_(docs), recent_(recent) {}

bool ShellCommands::UpdateCommand(int id, CommandState& state) {
    const bool hasMap = frame_.ActiveFrame() != nullptr;
    state = {true, false};
    if (id >= cmd::kFileMru1 && id <= cmd::kFileMruLast) {
        state.enabled = id - cmd::kFileMru1 < recent_.Files().size();
        return true;
    }
    switch (id) {
        case cmd::kFileNew:
        case cmd::kFileOpen:
        case cmd::kAppAbout:
        case cmd::kAppExit:
            return true;
        case cmd::kFileClose:
        case cmd::kFileSave:
        case cmd::kFileSaveAs:
        case cmd::kWindowNew:
        case cmd::kWindowCascade:
        case cmd::kWindowTile:
        case cmd::kWindowArrange:
        case cmd::kNextPane:
        case cmd::kPrevPane:
            state.enabled = hasMap;
            return true;
        case cmd::kViewToolbar:
            state.checked = !frame_.ToolBar()->isHidden();
            return true;
        case cmd::kViewStatusBar:
            state.checked = !frame_.statusBar()->isHidden();
            return true;
        default:
            return false;
    }
}

bool ShellCommands::ExecuteCommand(int id) {
    if (id >= cmd::kFileMru1 && id <= cmd::kFileMruLast) {
        OpenRecent(id - cmd::kFileMru1);
        return true;
    }
    CChildFrame* active = frame_.ActiveFrame();
    switch (id) {
        case cmd::kFileNew:
            docs_.NewDocument();
            return true;
        case cmd::kFileOpen:
            if (CzandrelEditorDoc* doc = docs_.OpenWithDialog()) {
                frame_.ShowDocument(doc);
            }
            return true;
        case cmd::kAppAbout: {
            CAboutDlg about(&frame_);
            about.exec();
            return true;
        }
        case cmd::kAppExit:
            frame_.close();
            return true;
        case cmd::kViewToolbar:
            frame_.ToolBar()->setVisible(frame_.ToolBar()->isHidden());
            return true;
        case cmd::kViewStatusBar:
            frame_.statusBar()->setVisible(frame_.statusBar()->isHidden());
            return true;
        default:
            break;
    }
    if (active == nullptr) {
        return false;
    }
    switch (id) {
        case cmd::kFileClose:
            frame_.CloseDocument(active->GetDocument());
            return true;
        case cmd::kFileSave:
            docs_.Save(active->GetDocument());
            return true;
        case cmd::kFileSaveAs:
            docs_.SaveAs(active->GetDocument());
            return true;
        case cmd::kWindowNew:
            frame_.OpenFrame(active->GetDocument());
            return true;
        case cmd::kWindowCascade:
            frame_.MdiArea()->cascadeSubWindows();
            return true;
        case cmd::kWindowTile:
            frame_.MdiArea()->tileSubWindows();
            return true;
        case cmd::kWindowArrange:
            ArrangeIcons();
            return true;
        case cmd::kNextPane:
        case cmd::kPrevPane:
            // Two panes: forward and back both reach the other one.
            active->ActivateNextPane();
            return true;
        default:
            return false;
    }
}

void ShellCommands::OpenRecent(int index) {
    if (index >= recent_.Files().size()) {
        return;
    }
    const QString path = recent_.Files().at(index);
    if (CzandrelEditorDoc* doc = docs_.OpenDocument(path)) {
        frame_.ShowDocument(doc);
    } else {
        recent_.Remove(path);
        frame_.RecentFilesChanged();
    }
}

void ShellCommands::ArrangeIcons() {
    // Minimised map windows line up along the bottom edge, left to right.
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
