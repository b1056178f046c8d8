#pragma once

#include "map/MapGrid.h"
#include "tools/DocumentState.h"
#include "tools/MapSelection.h"

namespace zandrel::tools {

// The Modifica menu of a 3D view: copy, cut, paste, merge and undo on the view's selection and
// its document, with the one clipboard grid the whole application shares. A command that the
// menu shows disabled returns false and changes nothing; the caller redraws and notifies the
// other views after paste, merge and undo.

// Paste and merge need something copied or cut since start-up, in any document.
inline bool CanPaste(const map::MapGrid& clipboard) {
    return clipboard.hasContent;
}
// Undo needs a snapshot that has not been restored yet.
inline bool CanUndo(const DocumentState& doc) {
    return doc.undoGrid.hasContent;
}

// The selected block into the clipboard, relative to its first cell; nothing else changes.
void EditCopy(const DocumentState& doc, const MapSelection& selection, map::MapGrid& clipboard);

// Copy, then the selection set flat at the NE height of its first cell as one tool application
// (which takes the undo snapshot if this selection has none yet); starts a new undo step.
void EditCut(DocumentState& doc, MapSelection& selection, map::MapGrid& clipboard);

// Snapshot, then the whole clipboard block laid from the selection's first cell at that cell's
// level, clipped at the map's far edges; the selection grows or shrinks to the pasted block.
bool EditPaste(DocumentState& doc, MapSelection& selection, const map::MapGrid& clipboard);

// Snapshot, then the clipboard's relative heights added onto the block from the selection's
// first cell, clipped as paste; the selection stays.
bool EditMerge(DocumentState& doc, MapSelection& selection, const map::MapGrid& clipboard);

// "Ruota appunti", "Rifletti appunti in X" and "Rifletti appunti in Z": the clipboard's block
// turned a quarter or mirrored, for the next paste or merge; no map changes. False, and
// nothing done, while the clipboard is empty.
enum class BlockTurn { Rotate, FlipX, FlipZ };
bool EditTurnClipboard(map::MapGrid& clipboard, BlockTurn turn);

// The heights (and size) of the snapshot back into the map, or the whole map when a resize
// took the snapshot; the snapshot is then used up.
bool EditUndo(DocumentState& doc, MapSelection& selection);

}  // namespace zandrel::tools
