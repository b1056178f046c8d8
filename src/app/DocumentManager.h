#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "map/MapGrid.h"

class QWidget;

namespace zandrel::document {
class CzandrelEditorDoc;
}

namespace zandrel::app {
class RecentFileList;
class UserPrompts;

// The open maps: creates, opens, saves and closes documents, numbers the untitled ones,
// reports failures to the user and keeps the recent-file list up to date. Windows are the
// main frame's business; it learns of new documents through documentOpened.
class DocumentManager : public QObject {
    Q_OBJECT

public:
    DocumentManager(UserPrompts& prompts, RecentFileList& recent, map::MapGrid& clipboard,
                    QObject* parent = nullptr);
    ~DocumentManager() override;

    // Parent for the dialogs the manager shows.
    void SetDialogParent(QWidget* parent) { dialogParent_ = parent; }

    const std::vector<std::unique_ptr<document::CzandrelEditorDoc>>& Documents() const {
        return docs_;
    }

    // A fresh untitled map; never null.
    document::CzandrelEditorDoc* NewDocument();
    // Asks for a path (starting in active's folder, or the last one used), then opens it; null
    // when cancelled or failed.
    document::CzandrelEditorDoc* OpenWithDialog(const document::CzandrelEditorDoc* active);
    // The map at path: the already open document for that file, or a new one read from it.
    // On failure the user is told why, no document is added, and null is returned.
    document::CzandrelEditorDoc* OpenDocument(const QString& path);
    // A recovery copy read back as a map with unsaved changes, under originalPath (untitled
    // when that is empty), so nothing overwrites the original until the user saves. On
    // failure the user is told why and null is returned.
    document::CzandrelEditorDoc* RecoverDocument(const QString& copyPath,
                                                 const QString& originalPath);

    // Saves under the document's file, asking for one when it has none. False when cancelled
    // or failed (the user has been told why).
    bool Save(document::CzandrelEditorDoc* doc);
    bool SaveAs(document::CzandrelEditorDoc* doc);
    // Before closing a modified map: asks whether to save it. False means keep it open.
    bool SaveModified(document::CzandrelEditorDoc* doc);

    // Destroys doc; its windows must already be gone.
    void Remove(document::CzandrelEditorDoc* doc);

signals:
    void documentOpened(document::CzandrelEditorDoc* doc);
    // doc is about to be destroyed: closed, with its question answered.
    void documentClosing(document::CzandrelEditorDoc* doc);
    void recentFilesChanged();

private:
    document::CzandrelEditorDoc* Adopt(std::unique_ptr<document::CzandrelEditorDoc> doc);
    bool SaveTo(document::CzandrelEditorDoc* doc, const QString& path);

    UserPrompts& prompts_;
    RecentFileList& recent_;
    map::MapGrid& clipboard_;
    QWidget* dialogParent_ = nullptr;
    std::vector<std::unique_ptr<document::CzandrelEditorDoc>> docs_;
    int untitledCount_ = 0;
};

}  // namespace zandrel::app
