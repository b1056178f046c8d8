#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <string_view>

#include "cli/ScriptCommand.h"
#include "map/MapGrid.h"
#include "map/Status.h"
#include "tools/DocumentState.h"
#include "tools/EditHistory.h"
#include "tools/EditSession.h"
#include "tools/MapSelection.h"

namespace zandrel::cli {

// What an editing script drives: one editor window on one document (its map, undo snapshot
// and next enemy slot), the window's 3D view (selection and current tool) and its panel, and
// the application's clipboard, which outlives every document the script opens. A session
// starts like the editor without arguments, on a fresh 50x50 map. Each command that changes
// the map is recorded in the document's history as the editor records it.
class ScriptSession {
public:
    // out receives what commands print (the history); null prints nothing.
    explicit ScriptSession(std::ostream* out = nullptr);

    // Runs one command as the editor would; a command the editor would show disabled or could
    // not carry out changes nothing and returns the reason.
    Status Run(const ScriptCommand& command);

    const map::MapGrid& mapGrid() const { return document_->mapGrid; }
    const tools::MapSelection& selection() const { return session_.selection(); }
    const map::MapGrid& clipboard() const { return *clipboard_; }
    const tools::EditHistory& history() const { return history_; }

private:
    Status New(const ScriptCommand& command);
    Status Open(const ScriptCommand& command);
    Status Save(const ScriptCommand& command);
    Status Select(const ScriptCommand& command);
    Status Tool(const ScriptCommand& command);
    Status Copy(const ScriptCommand& command);
    Status Cut(const ScriptCommand& command);
    Status Paste(const ScriptCommand& command);
    Status Merge(const ScriptCommand& command);
    Status Undo(const ScriptCommand& command);
    Status Goal(const ScriptCommand& command);
    Status Start(const ScriptCommand& command);
    Status Enemy(const ScriptCommand& command);
    Status Attributes(const ScriptCommand& command);
    Status Tile(const ScriptCommand& command);
    Status Wall(const ScriptCommand& command);
    Status EnemyTexture(const ScriptCommand& command);
    Status RefreshTextures(const ScriptCommand& command);
    Status Rotate(const ScriptCommand& command);
    Status Flip(const ScriptCommand& command);
    Status Resize(const ScriptCommand& command);
    Status Paint(const ScriptCommand& command);
    Status History(const ScriptCommand& command);
    Status Revert(const ScriptCommand& command);

    // How the history names command's edit.
    tools::EditLabel LabelOf(const ScriptCommand& command) const;

    // A fresh document and view around grid, as the editor's new and open paths leave them.
    void ShowDocument(std::unique_ptr<tools::DocumentState> document);
    // Cell (x, z) from two arguments, checked against the map.
    Status CellArgument(const ScriptCommand& command, std::size_t first, std::int32_t& x,
                        std::int32_t& z) const;
    // A texture list entry that exists, from argument at.
    Status TextureEntry(const ScriptCommand& command, std::int32_t& entry,
                        std::size_t at = 0) const;

    std::unique_ptr<map::MapGrid> clipboard_;
    std::unique_ptr<tools::DocumentState> document_;
    // The window's 3D view: the same session its mouse and menus drive.
    tools::EditSession session_;
    tools::EditHistory history_;
    // The map before the command under way, for its history entry.
    std::unique_ptr<map::MapGrid> before_;
    // The name of a revert's entry, which the label only refers to.
    std::string revertName_;
    std::ostream* out_;
};

}  // namespace zandrel::cli
