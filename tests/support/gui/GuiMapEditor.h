#pragma once

#include <QLineEdit>
#include <QStatusBar>
#include <QtTest>
#include <array>
#include <string_view>

#include "EditorFixture.h"
#include "app/CommandDispatcher.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "document/CommandIds.h"
#include "panel/CzandrelEditorFormView.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::gui_test {

// An edit of the map made as the tools make theirs, through the document: it marks the map
// modified, reaches the history and tells every view.
template <typename Edit>
void EditMap(document::CzandrelEditorDoc& doc, Edit&& edit,
             std::string_view name = tools::kUnnamedEdit) {
    doc.Change(
        [&](tools::DocumentState& state) {
            edit(state.mapGrid);
            return tools::EditOutcome{};
        },
        nullptr, name);
}

// What a GUI test's initMain sets before the application exists, as the editor's own main does.
inline void PrepareApplication() {
    app::UseEditorSurfaceFormat();
    view3d::CzandrelEditorView::PrepareApplication();
}

inline std::array<int, 4> Corners(const map::CellRect& rect) {
    return {rect.x0, rect.z0, rect.x1, rect.z1};
}

// The editor as a user starts it: on the maps of its command line, else with one new map
// window. The accessors name the parts of the active window, so a case reads as the user's
// steps. Check started before anything else.
struct GuiMapEditor : Editor {
    bool started;

    // With start false, the editor is left as built, before InitInstance.
    explicit GuiMapEditor(const QStringList& arguments = {}, bool start = true)
        : started(start && app->InitInstance(arguments)) {}

    app::CChildFrame* active() { return frame().ActiveFrame(); }
    document::CzandrelEditorDoc* doc() { return active()->GetDocument(); }
    view3d::CzandrelEditorView* view() { return active()->View(); }
    // A command as its menu item or key sends it; false when it was disabled.
    bool Run(int id) { return commands().Execute(id); }
    bool Enabled(int id) { return commands().Query(id).enabled; }
    bool Checked(int id) { return commands().Query(id).checked; }
    QString StatusText() { return frame().statusBar()->currentMessage(); }
    template <typename Widget>
    Widget* Panel(const char* name) {
        return active()->Panel()->findChild<Widget*>(QString::fromLatin1(name));
    }
    QString Field(const char* name) { return Panel<QLineEdit>(name)->text(); }
};

}  // namespace zandrel::gui_test
