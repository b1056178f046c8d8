#include "app/CMainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/CChildFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CommandTable.h"
#include "app/DocumentManager.h"
#include "app/LockKeyIndicators.h"
#include "app/MapDocks.h"
#include "app/RecentFileList.h"
#include "app/ShellCommands.h"
#include "app/StatusReadout.h"
#include "app/ToolbarImages.h"
#include "app/UserPrompts.h"
#include "app/WindowMenu.h"
#include "app/WindowPlacement.h"
#include "document/CzandrelEditorDoc.h"
#include "panel/CzandrelEditorFormView.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace {
const QString kAppTitle = QStringLiteral("zandrelEditor");
const QString kIdleText = QStringLiteral("Pronto");
// The 3D view's share of a new window: wide enough to see and drag the terrain.
constexpr int kUsableViewWidth = 480;

CChildFrame* FrameOf(QMdiSubWindow* window) {
    return window == nullptr ? nullptr : qobject_cast<CChildFrame*>(window->widget());
}
}  // namespace

CMainFrame::CMainFrame(DocumentManager& docs, RecentFileList& recent, UserPrompts& prompts)
    : docs_(docs), recent_(recent), prompts_(prompts) {
    setObjectName(QStringLiteral("mainFrame"));
    setWindowTitle(kAppTitle);
    setWindowIcon(QIcon(QPixmap::fromImage(ToolbarImages::AppIcon(32))));
    setAcceptDrops(true);

    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(mdiArea_);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window != nullptr) {
            lastActive_ = window;
        }
        ScheduleRefresh();
    });

    shellCommands_ = std::make_unique<ShellCommands>(*this, docs_, recent_);
    commands_ = new CommandDispatcher(this, [this] {
        return std::vector<document::CommandTarget*>{ActiveFrame(), shellCommands_.get()};
    });
    noMapMenus_ = commands_->BuildMenus(CommandTable::NoMapMenus());
    mapMenus_ = commands_->BuildMenus(CommandTable::MapMenus());
    BuildWindowMenu();
    toolBar_ = commands_->BuildToolBar();
    toolBar_->setWindowTitle(QStringLiteral("Barra degli strumenti"));
    toolBar_->setMovable(true);
    toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    commands_->InstallAccelerators();
    BuildStatusBar();
    docks_ = new MapDocks(*this);
    ShowMenusFor(false);

    connect(&docs_, &DocumentManager::documentOpened, this,
            [this](document::CzandrelEditorDoc* doc) { OpenFrame(doc); });
    connect(&docs_, &DocumentManager::recentFilesChanged, this, &CMainFrame::RecentFilesChanged);
    docs_.SetDialogParent(this);
    RecentFilesChanged();
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    // The docks outlive this part of the frame; what they would remember as they go is not
    // the user's doing.
    delete docks_;
    // Map windows go first: their panes refer to documents the manager owns.
    while (!frames_.empty()) {
        delete frames_.back()->parentWidget();
    }
}

void CMainFrame::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    // Permanent fields line up in the order they are added: the readout left of the lock keys.
    pointerReadout_ = new QLabel(bar);
    pointerReadout_->setObjectName(QStringLiteral("pointerReadout"));
    pointerReadout_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addPermanentWidget(pointerReadout_);
    indicators_ = new LockKeyIndicators(bar);
    // The message pane shows a prompt while a command is highlighted and "Pronto" otherwise.
    connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& text) {
        if (text.isEmpty()) {
            bar->showMessage(kIdleText);
        }
    });
    bar->showMessage(kIdleText);
    indicators_->Refresh();
}

void CMainFrame::BuildWindowMenu() {
    const auto windowMenu = std::find_if(mapMenus_.begin(), mapMenus_.end(), [](const QMenu* menu) {
        return menu->title() == QStringLiteral("Fi&nestra");
    });
    if (windowMenu == mapMenus_.end()) {
        return;
    }
    WindowMenu::Hooks hooks;
    hooks.windows = [this] {
        std::vector<QMdiSubWindow*> windows;
        for (CChildFrame* frame : frames_) {
            windows.push_back(qobject_cast<QMdiSubWindow*>(frame->parentWidget()));
        }
        return windows;
    };
    hooks.active = [this] {
        const CChildFrame* active = ActiveFrame();
        return active == nullptr ? nullptr : qobject_cast<QMdiSubWindow*>(active->parentWidget());
    };
    hooks.activate = [this](QMdiSubWindow* window) {
        if (window->isMinimized()) {
            window->showNormal();
        }
        mdiArea_->setActiveSubWindow(window);
        lastActive_ = window;
    };
    hooks.choose = [this](const QStringList& titles) {
        return prompts_.ChooseWindow(this, titles);
    };
    windowMenu_ = new WindowMenu(*windowMenu, std::move(hooks));
}

void CMainFrame::ShowPointerReadout(const CChildFrame* frame, std::int32_t cell) {
    const view3d::CzandrelEditorView* view = frame->View();
    pointerReadout_->setText(StatusReadout::Text(frame->GetDocument()->mapGrid(), cell,
                                                 view->selection(), view->toolState().toolMode,
                                                 view->session().Brush()));
}

QSize CMainFrame::NewWindowSize(QMdiSubWindow* window) const {
    // The frame's own decoration (title bar and border) comes on top of the panes.
    const auto* frame = qobject_cast<CChildFrame*>(window->widget());
    const int handle = frame->Splitter()->handleWidth();
    const QSize panes(panel::CzandrelEditorFormView::kWidth + handle + kUsableViewWidth,
                      frame->Panel()->sizeHint().height());
    const QSize decoration = window->sizeHint() - frame->sizeHint();
    return WindowPlacement::FitSize(panes + decoration.expandedTo(QSize(0, 0)), VisibleArea());
}

QSize CMainFrame::VisibleArea() const {
    // Before the main window first shows, the viewport has not had its size yet; the area's
    // own laid-out contents are what it will get.
    return mdiArea_->isVisible() ? mdiArea_->viewport()->size() : mdiArea_->contentsRect().size();
}

int CMainFrame::CascadeStep(const QMdiSubWindow* window) const {
    return window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
}

void CMainFrame::CascadeWindows() {
    std::optional<QPoint> last;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (window->isMinimized() || window->isHidden()) {
            continue;
        }
        if (window->isMaximized()) {
            window->showNormal();
        }
        const QSize size = NewWindowSize(window);
        const QPoint at =
            WindowPlacement::NextPosition(last, CascadeStep(window), size, VisibleArea());
        window->setGeometry(QRect(at, size));
        window->raise();
        last = at;
    }
    lastPlaced_ = last;
    if (QMdiSubWindow* active = mdiArea_->activeSubWindow()) {
        active->raise();
    }
}

void CMainFrame::ShowMenusFor(bool mapOpen) {
    QMenuBar* bar = menuBar();
    const auto& wanted = mapOpen ? mapMenus_ : noMapMenus_;
    if (!bar->actions().isEmpty() && bar->actions().constFirst() == wanted.front()->menuAction()) {
        return;
    }
    bar->clear();
    for (QMenu* menu : wanted) {
        bar->addMenu(menu);
    }
}

CChildFrame* CMainFrame::ActiveFrame() const {
    const auto known = [this](CChildFrame* frame) {
        return frame != nullptr &&
               std::find(frames_.begin(), frames_.end(), frame) != frames_.end();
    };
    for (QMdiSubWindow* window : {mdiArea_->currentSubWindow(), lastActive_.data()}) {
        if (window != nullptr && known(FrameOf(window)) && window->isVisible()) {
            return FrameOf(window);
        }
    }
    return frames_.empty() ? nullptr : frames_.back();
}

std::vector<CChildFrame*> CMainFrame::Frames() const {
    return frames_;
}

std::vector<CChildFrame*> CMainFrame::FramesOf(const document::CzandrelEditorDoc* doc) const {
    std::vector<CChildFrame*> frames = frames_;
    std::erase_if(frames, [doc](const CChildFrame* frame) { return frame->GetDocument() != doc; });
    return frames;
}

CChildFrame* CMainFrame::OpenFrame(document::CzandrelEditorDoc* doc) {
    auto* frame = new CChildFrame(doc);
    frames_.push_back(frame);
    frame->SetCloseGuard([this](CChildFrame* closing) { return ConfirmClose(closing); });
    QMdiSubWindow* window = mdiArea_->addSubWindow(frame);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowIcon(windowIcon());
    // Placed wholly inside the visible area, whatever its scroll state, cascading from the
    // last new window; sized so the whole panel shows beside a usable 3D view.
    const QSize size = NewWindowSize(window);
    const QPoint at =
        WindowPlacement::NextPosition(lastPlaced_, CascadeStep(window), size, VisibleArea());
    window->setGeometry(QRect(at, size));
    lastPlaced_ = at;
    connect(frame->View(), &view3d::CzandrelEditorView::pointerOverCell, this,
            [this, frame](std::int32_t cell) { ShowPointerReadout(frame, cell); });
    connect(frame, &QObject::destroyed, this, [this, frame, doc] { FrameDestroyed(frame, doc); });
    connect(window, &QMdiSubWindow::windowStateChanged, this, &CMainFrame::ScheduleRefresh);
    connect(doc, &document::CzandrelEditorDoc::modifiedChanged, frame, [this] { UpdateTitles(); });
    connect(doc, &document::CzandrelEditorDoc::titleChanged, frame, [this] { UpdateTitles(); });
    ShowMenusFor(true);
    window->show();
    mdiArea_->setActiveSubWindow(window);
    lastActive_ = window;
    frame->setFocus();
    UpdateTitles();
    return frame;
}

void CMainFrame::ShowDocument(document::CzandrelEditorDoc* doc) {
    const auto frames = FramesOf(doc);
    if (frames.empty()) {
        OpenFrame(doc);
        return;
    }
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (window->widget() == frames.front()) {
            mdiArea_->setActiveSubWindow(window);
            lastActive_ = window;
        }
    }
}

bool CMainFrame::OpenFile(const QString& path) {
    document::CzandrelEditorDoc* doc = docs_.OpenDocument(path);
    if (doc != nullptr) {
        ShowDocument(doc);
    }
    return doc != nullptr;
}

bool CMainFrame::CloseDocument(document::CzandrelEditorDoc* doc) {
    if (!docs_.SaveModified(doc)) {
        return false;
    }
    for (CChildFrame* frame : FramesOf(doc)) {
        closingWithoutAsking_.emplace_back(frame);
        frame->parentWidget()->close();
    }
    return true;
}

bool CMainFrame::ConfirmClose(CChildFrame* frame) {
    std::erase_if(closingWithoutAsking_, [](const auto& pending) { return pending.isNull(); });
    const auto pending = std::find(closingWithoutAsking_.begin(), closingWithoutAsking_.end(),
                                   QPointer<CChildFrame>(frame));
    if (pending != closingWithoutAsking_.end()) {
        return true;
    }
    // Only the last window of a map asks; closing one of several just closes that view.
    if (FramesOf(frame->GetDocument()).size() > 1) {
        return true;
    }
    return docs_.SaveModified(frame->GetDocument());
}

void CMainFrame::FrameDestroyed(CChildFrame* frame, document::CzandrelEditorDoc* doc) {
    std::erase(frames_, frame);
    if (FramesOf(doc).empty()) {
        // The frame's panes are already gone (the frame deletes them first), so nothing refers
        // to the document any more.
        docs_.Remove(doc);
    }
    ScheduleRefresh();
}

void CMainFrame::ScheduleRefresh() {
    if (refreshPending_) {
        return;
    }
    refreshPending_ = true;
    QTimer::singleShot(0, this, &CMainFrame::Refresh);
}

void CMainFrame::Refresh() {
    refreshPending_ = false;
    ShowMenusFor(!frames_.empty());
    UpdateTitles();
}

QString CMainFrame::FrameTitle(const CChildFrame* frame) const {
    const document::CzandrelEditorDoc* doc = frame->GetDocument();
    QString title = doc->Title();
    const auto siblings = FramesOf(doc);
    if (siblings.size() > 1) {
        const auto index = std::find(siblings.begin(), siblings.end(), frame) - siblings.begin();
        title += QStringLiteral(":%1").arg(index + 1);
    }
    if (doc->IsModified()) {
        title += QLatin1Char('*');
    }
    return title;
}

void CMainFrame::UpdateTitles() {
    for (CChildFrame* frame : frames_) {
        frame->parentWidget()->setWindowTitle(FrameTitle(frame));
    }
    // The main window names the active map, not which of its windows is active.
    const CChildFrame* active = ActiveFrame();
    // A maximised map window adds " - [its title]" to the main window's title by itself.
    if (active == nullptr || active->parentWidget()->isMaximized()) {
        setWindowTitle(kAppTitle);
        return;
    }
    const document::CzandrelEditorDoc* doc = active->GetDocument();
    setWindowTitle(kAppTitle + QStringLiteral(" - ") + doc->Title() +
                   (doc->IsModified() ? QStringLiteral("*") : QString()));
}

void CMainFrame::RecentFilesChanged() {
    commands_->SetRecentFiles(recent_.Files());
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    std::vector<document::CzandrelEditorDoc*> docs;
    for (const auto& doc : docs_.Documents()) {
        docs.push_back(doc.get());
    }
    for (document::CzandrelEditorDoc* doc : docs) {
        if (!docs_.SaveModified(doc)) {
            event->ignore();
            return;
        }
    }
    for (document::CzandrelEditorDoc* doc : docs) {
        for (CChildFrame* frame : FramesOf(doc)) {
            closingWithoutAsking_.emplace_back(frame);
        }
    }
    mdiArea_->closeAllSubWindows();
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const auto urls = event->mimeData()->urls();
    for (const QUrl& url : urls) {
        if (url.isLocalFile()) {
            OpenFile(url.toLocalFile());
        }
    }
    event->acceptProposedAction();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // A key event passes this filter once for every widget it propagates through: refresh
    // once per key, when the lock state has settled (on release), and on activation.
    if (event->type() == QEvent::ShortcutOverride) {
        // The editor's keys win over a focused field's own: a read-only field of the panel
        // would otherwise keep Ctrl+C for its text. Leaving the override unaccepted lets the
        // key reach the shortcut.
        const auto* key = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget != nullptr && widget->window() == this &&
            commands_->IsAccelerator(key->keyCombination())) {
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->timestamp() != lastKeyTimestamp_) {
            lastKeyTimestamp_ = key->timestamp();
            indicators_->Refresh();
        }
    } else if (event->type() == QEvent::WindowActivate && watched == this) {
        indicators_->Refresh();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace zandrel::app
