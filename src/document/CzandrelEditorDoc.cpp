#include "document/CzandrelEditorDoc.h"

#include <QFileInfo>
#include <QSettings>
#include <memory>

#include "mapfile/MapLoader.h"
#include "mapfile/MapWriter.h"

namespace zandrel::document {

namespace {
std::filesystem::path ToPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

// Entries a history keeps; the default for anything missing, not a number or below 1.
std::size_t HistoryLimitSetting() {
    bool ok = false;
    const qlonglong limit = QSettings().value("History/Limit").toLongLong(&ok);
    return ok && limit >= 1 ? static_cast<std::size_t>(limit) : tools::EditHistory::kDefaultLimit;
}
}  // namespace

CzandrelEditorDoc::CzandrelEditorDoc(QObject* parent) : QObject(parent) {
    history_.SetLimit(HistoryLimitSetting());
}

void CzandrelEditorDoc::StartHistory() {
    history_.Clear();
    emit historyChanged();
}

bool CzandrelEditorDoc::OnNewDocument() {
    // A grid is a few hundred kilobytes: build the fresh one on the heap, then assign.
    const auto fresh = std::make_unique<map::MapGrid>(50, 50);
    state_.mapGrid = *fresh;
    SetModified(false);
    StartHistory();
    return true;
}

bool CzandrelEditorDoc::OnOpenDocument(const QString& path, QString* error, FailureCause* cause) {
    // Loading keeps whatever the file does not mention (cells outside its block, the selection,
    // texture objects), so the temporary starts as a copy of the current map.
    auto loaded = std::make_unique<map::MapGrid>(state_.mapGrid);
    // The reader's defaults: parse messages on standard error, and the characters no scanner
    // rule takes (the blanks inside the map's tag, mostly) copied to standard output.
    const Status status = mapfile::LoadMapFile(*loaded, ToPath(path));
    if (!status.ok()) {
        if (error != nullptr) {
            *error = QString::fromStdString(status.message());
        }
        if (cause != nullptr) {
            *cause = status.cause();
        }
        return false;
    }
    state_.mapGrid = *loaded;
    SetPathName(path);
    SetModified(false);
    StartHistory();
    return true;
}

bool CzandrelEditorDoc::OnSaveDocument(const QString& path, QString* error, FailureCause* cause) {
    const Status status = mapfile::SaveMapFile(state_.mapGrid, ToPath(path));
    if (!status.ok()) {
        if (error != nullptr) {
            *error = QString::fromStdString(status.message());
        }
        if (cause != nullptr) {
            *cause = status.cause();
        }
        return false;
    }
    SetPathName(path);
    SetModified(false);
    return true;
}

void CzandrelEditorDoc::SetModified(bool modified) {
    if (modified_ == modified) {
        return;
    }
    modified_ = modified;
    emit modifiedChanged(modified_);
}

void CzandrelEditorDoc::SetPathName(const QString& path) {
    const QString absolute = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    if (absolute == pathName_) {
        return;
    }
    pathName_ = absolute;
    emit titleChanged();
}

void CzandrelEditorDoc::SetUntitledName(const QString& name) {
    if (name == untitledName_) {
        return;
    }
    untitledName_ = name;
    if (pathName_.isEmpty()) {
        emit titleChanged();
    }
}

QString CzandrelEditorDoc::Title() const {
    return pathName_.isEmpty() ? untitledName_ : QFileInfo(pathName_).fileName();
}

void CzandrelEditorDoc::FinishChange(const tools::EditOutcome& outcome, QObject* sender,
                                     std::string_view name) {
    const bool wasHeld = changeHeld_;
    changeHeld_ = outcome.holdChange;
    if (changeHeld_) {
        if (!wasHeld) {
            heldName_ = outcome.name;
        }
        return;
    }
    const bool changed = !state_.mapGrid.SameContent(before_);
    if (changed) {
        SetModified(true);
    }
    // A stroke ends with the release, which names nothing: the entry is the stroke's.
    if (!outcome.name.empty()) {
        name = outcome.name;
    } else if (wasHeld && !heldName_.empty()) {
        name = heldName_;
    }
    const tools::EditLabel label{name, reinterpret_cast<std::uintptr_t>(sender), outcome.undoStep};
    if (history_.Record(before_, state_.mapGrid, label, tools::EditHistory::Clock::now())) {
        emit historyChanged();
    }
    if (changed || outcome.notifyViews) {
        emit viewsNeedUpdate(sender);
    }
}

void CzandrelEditorDoc::ReloadTextures(TextureKind kind) {
    emit texturesNeedReload(kind, ++textureGeneration_);
}

}  // namespace zandrel::document
