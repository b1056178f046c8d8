#pragma once

#include <QWidget>
#include <functional>

#include "document/CommandTarget.h"

class QSplitter;

namespace zandrel::panel {
class CzandrelEditorFormView;
}
namespace zandrel::view3d {
class CzandrelEditorView;
}

namespace zandrel::document {
class CzandrelEditorDoc;
}

namespace zandrel::app {

// The window of one map: a splitter with the attribute panel (200 pixels) on the left and the
// 3D view on the right. Several frames may show the same document, each with its own panes.
//
// Commands reach the pane that has the focus first, then the other pane, then the 3D view's
// display modes and the document's undo rule.
class CChildFrame : public QWidget, public document::CommandTarget {
    Q_OBJECT

public:
    explicit CChildFrame(document::CzandrelEditorDoc* doc, QWidget* parent = nullptr);
    ~CChildFrame() override;

    document::CzandrelEditorDoc* GetDocument() const { return doc_; }
    view3d::CzandrelEditorView* View() const { return view_; }
    panel::CzandrelEditorFormView* Panel() const { return panel_; }
    QSplitter* Splitter() const { return splitter_; }

    // Asked before the frame closes; false keeps it open.
    void SetCloseGuard(std::function<bool(CChildFrame*)> guard) { closeGuard_ = std::move(guard); }

    // F6 / Shift+F6: the keyboard focus to the other pane.
    void ActivateNextPane();

    bool UpdateCommand(int id, document::CommandState& state) override;
    bool ExecuteCommand(int id) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The panes in routing order: the one with the focus first.
    std::vector<QWidget*> PanesByFocus() const;

    document::CzandrelEditorDoc* doc_;
    QSplitter* splitter_;
    panel::CzandrelEditorFormView* panel_;
    view3d::CzandrelEditorView* view_;
    std::function<bool(CChildFrame*)> closeGuard_;
};

}  // namespace zandrel::app
