#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "tools/DocumentState.h"
#include "view3d/EnemyModel.h"

namespace zandrel::app {

// One open map: the edited grid, its undo snapshot, the next enemy slot and the four enemy
// markers. Views and the panel read and change these directly, then call UpdateAllViews so
// every other window on the same map refreshes, and mark the document modified.
class CzandrelEditorDoc : public QObject {
    Q_OBJECT

public:
    explicit CzandrelEditorDoc(QObject* parent = nullptr);

    // A fresh 50x50 map.
    bool OnNewDocument();
    // Parses and loads path; on failure the document is unchanged and *error says why.
    bool OnOpenDocument(const QString& path, QString* error);
    // Safe save (temporary file, then rename); on failure the old file is intact.
    bool OnSaveDocument(const QString& path, QString* error);

    tools::DocumentState& state() { return state_; }
    map::MapGrid& mapGrid() { return state_.mapGrid; }
    map::MapGrid& undoGrid() { return state_.undoGrid; }
    std::array<view3d::EnemyModel, 4>& enemyModels() { return enemyModels_; }

    // The application's clipboard, shared by every open map; null until the shell sets it.
    map::MapGrid* clipboard() const { return clipboard_; }
    void SetClipboard(map::MapGrid* clipboard) { clipboard_ = clipboard; }

    bool IsModified() const { return modified_; }
    void SetModified(bool modified);
    const QString& PathName() const { return pathName_; }
    void SetPathName(const QString& path);
    // "zandrelEditor1", ... for untitled maps, the file name otherwise.
    QString Title() const;
    // The running-number name shown while the map has no file.
    void SetUntitledName(const QString& name);

    // Tells every view of this document except sender to re-read the model.
    void UpdateAllViews(QObject* sender);
    // After an edit: marks the map modified and tells the other views.
    void MarkChanged(QObject* sender);

signals:
    void viewsNeedUpdate(QObject* sender);
    void modifiedChanged(bool modified);
    void titleChanged();

private:
    tools::DocumentState state_;
    std::array<view3d::EnemyModel, 4> enemyModels_;
    QString pathName_;
    QString untitledName_;
    map::MapGrid* clipboard_ = nullptr;
    bool modified_ = false;
};

}  // namespace zandrel::app
