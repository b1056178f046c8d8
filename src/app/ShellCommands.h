#pragma once

#include "app/CommandTarget.h"

namespace zandrel::app {

class CMainFrame;
class DocumentManager;
class RecentFileList;

// The commands the application and its frames answer themselves: files, the recent-file list,
// toolbar and status bar, window arrangement, panes, about and exit.
class ShellCommands : public CommandTarget {
public:
    ShellCommands(CMainFrame& frame, DocumentManager& docs, RecentFileList& recent);

    bool UpdateCommand(int id, CommandState& state) override;
    bool ExecuteCommand(int id) override;

private:
    void OpenRecent(int index);
    void ArrangeIcons();

    CMainFrame& frame_;
    DocumentManager& docs_;
    RecentFileList& recent_;
};

}  // namespace zandrel::app
