#pragma once

#include "document/CommandTarget.h"

namespace zandrel::app {

class CMainFrame;
class DocumentManager;
class RecentFileList;

// The commands the application and its frames answer themselves: files, the recent-file list,
// the view's picture and heightmaps, toolbar and status bar, window arrangement, panes, the map
// check list, about and exit. Each is a row of its update rule and its handler.
class ShellCommands : public document::CommandTarget {
public:
    ShellCommands(CMainFrame& frame, DocumentManager& docs, RecentFileList& recent);

    bool UpdateCommand(int id, document::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    CMainFrame& frame() const { return frame_; }
    DocumentManager& docs() const { return docs_; }

    // Opens entry index of the recent-file list; a file that no longer opens leaves the list.
    void OpenRecent(int index);
    // Minimised map windows line up along the bottom edge, left to right.
    void ArrangeIcons();

private:
    CMainFrame& frame_;
    DocumentManager& docs_;
    RecentFileList& recent_;
};

}  // namespace zandrel::app
