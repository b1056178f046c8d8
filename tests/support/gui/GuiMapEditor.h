#pragma once

#include <QEventLoop>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <array>
#include <memory>
#include <string_view>

#include "FakePrompts.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CommandDispatcher.h"
#include "app/CzandrelEditorApp.h"
#include "app/DocumentManager.h"
#include "app/EditorSurfaceFormat.h"
#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
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

// Runs a real event loop for a moment so it goes idle and waits, as the editor's own loop
// does. (QTest's waits process events without ever blocking, so idle-time work never runs.)
inline void RunIdleLoop(int milliseconds = 30) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Saves a new map with cell (3, 4) raised, so it differs from any new map; its absolute path,
// or an empty string when the save failed.
inline QString SaveFreshMap(const QTemporaryDir& dir, const QString& name) {
    document::CzandrelEditorDoc doc;
    doc.OnNewDocument();
    doc.mapGrid().RaiseCell(3, 4, 1.0);
    const QString path = dir.filePath(name);
    return doc.OnSaveDocument(path, nullptr) ? QFileInfo(path).absoluteFilePath() : QString();
}

// The whole editor with test answers instead of modal dialogs, as a user starts it: on the maps
// of its command line, else with one new map window. The accessors name the parts of the
// active window, so a case reads as the user's steps. Check started before anything else.
struct GuiMapEditor {
    FakePrompts* prompts = new FakePrompts;
    std::unique_ptr<app::CzandrelEditorApp> app{
        std::make_unique<app::CzandrelEditorApp>(std::unique_ptr<app::UserPrompts>(prompts))};
    bool started;

    // With start false, the editor is left as built, before InitInstance.
    explicit GuiMapEditor(const QStringList& arguments = {}, bool start = true)
        : started(start && app->InitInstance(arguments)) {}

    app::CMainFrame& frame() { return app->MainFrame(); }
    app::CommandDispatcher& commands() { return frame().Commands(); }
    QMdiSubWindow* window(std::size_t k) {
        return qobject_cast<QMdiSubWindow*>(frame().Frames().at(k)->parentWidget());
    }
    QRect area() { return frame().MdiArea()->viewport()->rect(); }
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
    void Click(const char* button) {
        QTest::mouseClick(Panel<QPushButton>(button), Qt::LeftButton);
    }
    // The block the 3D view would have picked and stored, then its notification to the panels
    // and the other views: nothing changed, they refresh.
    void Select(int x0, int z0, int x1, int z1) {
        view()->selection().Set(x0, z0, x1, z1);
        doc()->mapGrid().SetSelection(x0, z0, x1, z1);
        emit doc()->viewsNeedUpdate(view());
    }
};

// A test class whose cases each start an editor of their own, in an application prepared as
// the editor's main prepares it, with a folder for their files.
class EditorTest : public QObject {
public:
    static void initMain() { PrepareApplication(); }

protected:
    std::unique_ptr<GuiMapEditor> editor_;
    QTemporaryDir dir_;

    GuiMapEditor& e() { return *editor_; }
    // A new editor in place of the last one (gone first, as a run that quit), started on
    // arguments unless start is false; false when it did not start.
    bool Start(const QStringList& arguments = {}, bool start = true) {
        editor_.reset();
        editor_ = std::make_unique<GuiMapEditor>(arguments, start);
        return !start || editor_->started;
    }
};

}  // namespace zandrel::gui_test
