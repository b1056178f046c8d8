#include "app/CChildFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QSplitter>
#include <array>

#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "panel/CzandrelEditorFormView.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace cmd = document::cmd;

namespace {
bool HasFocusWithin(const QWidget* pane) {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == pane || pane->isAncestorOf(focus));
}
}  // namespace

CChildFrame::CChildFrame(document::CzandrelEditorDoc* doc, QWidget* parent)
    : QWidget(parent), doc_(doc), splitter_(new QSplitter(Qt::Horizontal, this)) {
    setObjectName(QStringLiteral("childFrame"));
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setChildrenCollapsible(false);
    panel_ = new panel::CzandrelEditorFormView(doc, splitter_);
    view_ = new view3d::CzandrelEditorView(doc, splitter_);
    view_->setObjectName(QStringLiteral("view3d"));
    view_->setMinimumSize(1, 1);
    // The brushes paint the texture chosen in this window's panel.
    view_->SetBrushSlotSource([panel = panel_] { return panel->CurrentTextureEntry(); });
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

namespace {

using document::CommandState;
using Row = document::CommandRow<CChildFrame>;

template <view3d::RenderMode Mode>
CommandState ShowsMode(const CChildFrame& frame) {
    return {true, frame.View()->Mode() == Mode};
}

template <view3d::RenderMode Mode>
void ChooseMode(CChildFrame& frame) {
    frame.View()->SetRenderMode(Mode);
}

// The view modes: each switch a check item; the tints are one choice, picking the checked
// one again turns tinting off.
template <bool view3d::ViewModes::*Switch>
CommandState ShowsSwitch(const CChildFrame& frame) {
    return {true, frame.View()->Modes().*Switch};
}

template <bool view3d::ViewModes::*Switch>
void FlipSwitch(CChildFrame& frame) {
    view3d::ViewModes modes = frame.View()->Modes();
    modes.*Switch = !(modes.*Switch);
    frame.View()->SetViewModes(modes);
}

template <view3d::TintMode Tint>
CommandState ShowsTint(const CChildFrame& frame) {
    return {true, frame.View()->Modes().tint == Tint};
}

template <view3d::TintMode Tint>
void ChooseTint(CChildFrame& frame) {
    view3d::ViewModes modes = frame.View()->Modes();
    modes.tint = modes.tint == Tint ? view3d::TintMode::Off : Tint;
    frame.View()->SetViewModes(modes);
}

CommandState UndoRule(const CChildFrame& frame) {
    return {frame.GetDocument()->undoGrid().hasContent, false};
}

// Undo is the panes' whenever a view answers; this rule stands for the document without one.
void NoUndo(CChildFrame& /*frame*/) {}

// The rows the window answers after its panes: the 3D view's display and view modes and the
// document's undo rule.
constexpr std::array kRows = {
    Row{cmd::kViewSolid, &ShowsMode<view3d::RenderMode::Solid>,
        &ChooseMode<view3d::RenderMode::Solid>},
    Row{cmd::kViewWireframe, &ShowsMode<view3d::RenderMode::Wireframe>,
        &ChooseMode<view3d::RenderMode::Wireframe>},
    Row{cmd::kViewRelief, &ShowsSwitch<&view3d::ViewModes::relief>,
        &FlipSwitch<&view3d::ViewModes::relief>},
    Row{cmd::kViewGrid, &ShowsSwitch<&view3d::ViewModes::grid>,
        &FlipSwitch<&view3d::ViewModes::grid>},
    Row{cmd::kViewContours, &ShowsSwitch<&view3d::ViewModes::contours>,
        &FlipSwitch<&view3d::ViewModes::contours>},
    Row{cmd::kViewTintHeight, &ShowsTint<view3d::TintMode::Height>,
        &ChooseTint<view3d::TintMode::Height>},
    Row{cmd::kViewTintGravity, &ShowsTint<view3d::TintMode::Gravity>,
        &ChooseTint<view3d::TintMode::Gravity>},
    Row{cmd::kViewTintFriction, &ShowsTint<view3d::TintMode::Friction>,
        &ChooseTint<view3d::TintMode::Friction>},
    Row{cmd::kEditUndo, &UndoRule, &NoUndo},
};

constexpr document::CommandRows<CChildFrame> kFrameCommands{kRows};

}  // namespace

bool CChildFrame::UpdateCommand(int id, document::CommandState& state) {
    for (QWidget* pane : PanesByFocus()) {
        if (auto* target = dynamic_cast<document::CommandTarget*>(pane)) {
            if (target->UpdateCommand(id, state)) {
                return true;
            }
        }
    }
    return kFrameCommands.Update(*this, id, state);
}

bool CChildFrame::ExecuteCommand(int id) {
    for (QWidget* pane : PanesByFocus()) {
        if (auto* target = dynamic_cast<document::CommandTarget*>(pane)) {
            if (target->ExecuteCommand(id)) {
                return true;
            }
        }
    }
    return kFrameCommands.Execute(*this, id);
}

void CChildFrame::closeEvent(QCloseEvent* event) {
    if (closeGuard_ && !closeGuard_(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace zandrel::app
