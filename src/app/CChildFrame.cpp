#include "app/CChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QSplitter>

#include "app/CommandIds.h"
#include "app/CzandrelEditorDoc.h"
#include "panel/CzandrelEditorFormView.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace {
bool HasFocusWithin(const QWidget* pane) {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == pane || pane->isAncestorOf(focus));
}
}  // namespace

CChildFrame::CChildFrame(CzandrelEditorDoc* doc, QWidget* parent)
    : QWidget(parent), doc_(doc), splitter_(new QSplitter(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("childFrame"));
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);
    panel_ = new panel::CzandrelEditorFormView(doc, splitter_);
    view_ = new view3d::CzandrelEditorView(doc, splitter_);
    view_->setObjectName(QStringLiteral("view3d"));
    view_->setMinimumSize(1, 1);
    splitter_->addWidget(panel_);
    splitter_->addWidget(view_);
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({panel::CzandrelEditorFormView::kWidth, 10000});

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter_);
    setFocusProxy(view_);
}

CChildFrame::~CChildFrame() {
    // The panes refer to the document, which the shell destroys once the last frame is gone:
    // take them down while it still exists.
    delete splitter_;
}

void CChildFrame::ActivateNextPane() {
    QWidget* target = HasFocusWithin(view_) ? static_cast<QWidget*>(panel_) : view_;
    target->setFocus(Qt::TabFocusReason);
}

std::vector<QWidget*> CChildFrame::PanesByFocus() const {
    if (HasFocusWithin(panel_)) {
        return {panel_, view_};
    }
    return {view_, panel_};
}

bool CChildFrame::UpdateCommand(int id, CommandState& state) {
    for (QWidget* pane : PanesByFocus()) {
        if (auto* target = dynamic_cast<CommandTarget*>(pane)) {
            if (target->UpdateCommand(id, state)) {
                return true;
            }
        }
    }
    switch (id) {
        case cmd::kViewSolid:
            state = {true, view_->IsSolid()};
            return true;
        case cmd::kViewWireframe:
            state = {true, view_->IsWireframe()};
            return true;
        case cmd::kEditUndo:
            state = {doc_->undoGrid().hasContent, false};
            return true;
        default:
            return false;
    }
}

bool CChildFrame::ExecuteCommand(int id) {
    for (QWidget* pane : PanesByFocus()) {
        if (auto* target = dynamic_cast<CommandTarget*>(pane)) {
            if (target->ExecuteCommand(id)) {
                return true;
            }
        }
    }
    switch (id) {
        case cmd::kViewSolid:
            view_->OnViewSolid();
            return true;
        case cmd::kViewWireframe:
            view_->OnViewWireframe();
            return true;
        default:
            return false;
    }
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace zandrel::app
