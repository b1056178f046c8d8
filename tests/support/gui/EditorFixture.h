#pragma once

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>

#include <memory>

#include "FakePrompts.h"
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CzandrelEditorApp.h"
#include "document/CzandrelEditorDoc.h"

namespace zandrel::gui_test {

// The whole editor with test answers instead of modal dialogs; InitInstance is the test's.
struct Editor {
    FakePrompts* prompts;
    std::unique_ptr<app::CzandrelEditorApp> app;

    Editor() {
        auto owned = std::make_unique<FakePrompts>();
        prompts = owned.get();
        app = std::make_unique<app::CzandrelEditorApp>(std::move(owned));
    }
    app::CMainFrame& frame() { return app->MainFrame(); }
    app::CommandDispatcher& commands() { return frame().Commands(); }
    QMdiSubWindow* window(std::size_t k) {
        return qobject_cast<QMdiSubWindow*>(frame().Frames().at(k)->parentWidget());
    }
    QRect area() { return frame().MdiArea()->viewport()->rect(); }
};

// Saves a new map with cell (3, 4) raised, so it differs from any new map; its absolute path,
// or an empty string when the save failed.
inline QString SaveFreshMap(const QTemporaryDir& dir, const QString& name) {
    document::CzandrelEditorDoc doc;
    doc.OnNewDocument();
    doc.mapGrid().RaiseCell(3, 4, 1.0);
    const QString path = dir.filePath(name);
    return doc.OnSaveDocument(path, nullptr) ? QFileInfo(path).absoluteFilePath() : QString();
}

}  // namespace zandrel::gui_test
