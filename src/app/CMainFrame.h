#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace zandrel::document {
class CzandrelEditorDoc;
}

namespace zandrel::app {

class CChildFrame;
class CommandDispatcher;
class DocumentManager;
class LockKeyIndicators;
class MapDocks;
class RecentFileList;
class ShellCommands;
class UserPrompts;
class WindowMenu;

// The main window: the map windows in an MDI area, the menu bar (the short one while no map is
// open), the toolbar and the status bar with its lock-key panes. It accepts dropped map files
// and asks about unsaved maps before it closes.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    CMainFrame(DocumentManager& docs, RecentFileList& recent, UserPrompts& prompts);
    ~CMainFrame() override;

    CommandDispatcher& Commands() const { return *commands_; }
    QMdiArea* MdiArea() const { return mdiArea_; }
    QToolBar* ToolBar() const { return toolBar_; }
    LockKeyIndicators& Indicators() const { return *indicators_; }
    // The status bar's field that follows the pointer over a 3D view.
    QLabel* PointerReadout() const { return pointerReadout_; }
    WindowMenu& WindowList() const { return *windowMenu_; }
    // "Panoramica" and "Cronologia".
    MapDocks& Docks() const { return *docks_; }
    // Where the frame's commands ask the user and report failures.
    UserPrompts& Prompts() const { return prompts_; }

    // The map window with the focus, or null when no map is open.
    CChildFrame* ActiveFrame() const;
    std::vector<CChildFrame*> Frames() const;
    std::vector<CChildFrame*> FramesOf(const document::CzandrelEditorDoc* doc) const;

    // A new window on doc, activated.
    CChildFrame* OpenFrame(document::CzandrelEditorDoc* doc);
    // Brings doc's first window to the front.
    void ShowDocument(document::CzandrelEditorDoc* doc);
    // Asks about unsaved changes, then closes every window of doc. False when the user kept it.
    bool CloseDocument(document::CzandrelEditorDoc* doc);
    // Opens the map at path in a window (or shows it when already open).
    bool OpenFile(const QString& path);
    // "Sovrapponi": every map window at a new window's size, stepped down from the top left.
    void CascadeWindows();

    void RecentFilesChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildStatusBar();
    void BuildWindowMenu();
    // The size a new map window gets: the whole panel and a usable 3D view, within the area.
    QSize NewWindowSize(QMdiSubWindow* window) const;
    QSize VisibleArea() const;
    int CascadeStep(const QMdiSubWindow* window) const;
    void ShowPointerReadout(const CChildFrame* frame, std::int32_t cell);
    void ShowMenusFor(bool mapOpen);
    bool ConfirmClose(CChildFrame* frame);
    void FrameDestroyed(CChildFrame* frame, document::CzandrelEditorDoc* doc);
    // Menus and titles follow the windows once the event that changed them is over: windows
    // may be half destroyed while it runs.
    void ScheduleRefresh();
    void Refresh();
    void UpdateTitles();
    QString FrameTitle(const CChildFrame* frame) const;

    DocumentManager& docs_;
    RecentFileList& recent_;
    UserPrompts& prompts_;
    std::unique_ptr<ShellCommands> shellCommands_;
    CommandDispatcher* commands_ = nullptr;
    QMdiArea* mdiArea_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    LockKeyIndicators* indicators_ = nullptr;
    QLabel* pointerReadout_ = nullptr;
    WindowMenu* windowMenu_ = nullptr;
    MapDocks* docks_ = nullptr;
    // Where the last new window went: the next one cascades from there.
    std::optional<QPoint> lastPlaced_;
    // Every map window, in creation order.
    std::vector<CChildFrame*> frames_;
    bool refreshPending_ = false;
    std::vector<QMenu*> noMapMenus_;
    std::vector<QMenu*> mapMenus_;
    // The frames being closed after their document's question was already answered.
    std::vector<QPointer<CChildFrame>> closingWithoutAsking_;
    QPointer<QMdiSubWindow> lastActive_;
    quint64 lastKeyTimestamp_ = 0;
};

}  // namespace zandrel::app
