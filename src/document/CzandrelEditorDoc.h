#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "map/FailureCause.h"
#include "tools/DocumentState.h"
#include "tools/EditHistory.h"
#include "tools/EditNames.h"
#include "tools/EditSession.h"

namespace zandrel::document {

// Which texture objects a reload replaces: the map's slots with start and wall, or the enemy
// markers'.
enum class TextureKind { Map, Enemy };

// One open map: the edited grid, its undo snapshot, the enemy slots and the next one to fill.
// Every edit goes through Change, which alone decides the modified flag, tells the views and
// keeps the history of edits.
class CzandrelEditorDoc : public QObject {
    Q_OBJECT

public:
    explicit CzandrelEditorDoc(QObject* parent = nullptr);

    // A fresh 50x50 map.
    bool OnNewDocument();
    // Parses and loads path; on failure the document is unchanged, *error says why (in
    // English) and *cause gives the reason for a message in the user's language.
    bool OnOpenDocument(const QString& path, QString* error, FailureCause* cause = nullptr);
    // Safe save (temporary file, then rename); on failure the old file is intact.
    bool OnSaveDocument(const QString& path, QString* error, FailureCause* cause = nullptr);

    const tools::DocumentState& state() const { return state_; }
    const map::MapGrid& mapGrid() const { return state_.mapGrid; }
    const map::MapGrid& undoGrid() const { return state_.undoGrid; }
    // Written outside Change only by what is not content: a view storing its selection before
    // it draws, and the texture set writing the names of the texture objects it made.
    map::MapGrid& mapGrid() { return state_.mapGrid; }

    // The one way to change the map: runs edit(state) and returns its outcome. The document is
    // marked modified when what a save writes differs afterwards, and its views except sender
    // (all of them for nullptr) are told once when the outcome asks for it or the content
    // changed. An outcome that holds the change (a brush stroke under way) leaves both, and the
    // history, to the first edit after it that does not, which compares with the map from before
    // the first. The history names the edit after the outcome's name, or name when it has none.
    template <typename Edit>
    tools::EditOutcome Change(Edit&& edit, QObject* sender,
                              std::string_view name = tools::kUnnamedEdit) {
        if (!changeHeld_) {
            before_ = state_.mapGrid;
        }
        const tools::EditOutcome outcome = std::forward<Edit>(edit)(state_);
        FinishChange(outcome, sender, name);
        return outcome;
    }
    // The edits since the map was made or opened; not part of the file.
    const tools::EditHistory& history() const { return history_; }
    // The history keeps this many entries at most ("History/Limit" in the settings).
    void SetHistoryLimit(std::size_t limit) { history_.SetLimit(limit); }
    // Asks every view to replace the texture objects of kind from the map's current names,
    // each in its own context; views sharing a context group answer once.
    void ReloadTextures(TextureKind kind);

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

signals:
    void viewsNeedUpdate(QObject* sender);
    // generation grows with every reload asked for.
    void texturesNeedReload(TextureKind kind, std::uint64_t generation);
    void modifiedChanged(bool modified);
    void titleChanged();
    // An entry was added, extended or dropped, or the history started again.
    void historyChanged();

private:
    void FinishChange(const tools::EditOutcome& outcome, QObject* sender, std::string_view name);
    void StartHistory();

    tools::DocumentState state_;
    // The map as it was before the edit under way; kept, not made per edit, since a grid is a
    // few hundred kilobytes and the mouse edits on every move.
    map::MapGrid before_;
    tools::EditHistory history_;
    std::uint64_t textureGeneration_ = 0;
    QString pathName_;
    QString untitledName_;
    map::MapGrid* clipboard_ = nullptr;
    bool modified_ = false;
    // The last edit held its change open: before_ is still the map from before it.
    bool changeHeld_ = false;
    // The name of the edit that began the held change, for its history entry.
    std::string heldName_;
};

}  // namespace zandrel::document
