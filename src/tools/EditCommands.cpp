#include "tools/EditCommands.h"

#include "tools/ClipboardTransform.h"
#include "tools/HeightSampling.h"
#include "tools/MapResize.h"
#include "tools/RegionCopy.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {

void EditCopy(const DocumentState& doc, const MapSelection& selection, map::MapGrid& clipboard) {
    CopyRegionTo(doc.mapGrid, clipboard, selection.x0, selection.z0, selection.x1, selection.z1);
}

void EditCut(DocumentState& doc, MapSelection& selection, map::MapGrid& clipboard) {
    EditCopy(doc, selection, clipboard);
    // At a whole-number point this is the NE corner of the selection's first cell.
    const double h = sampleHeight(doc.mapGrid, selection.x0, selection.z0);
    selection.applyTool(doc.mapGrid, doc.undoGrid, TOOL_SET_HEIGHT, h);
    selection.undoSaved = false;
}

bool EditPaste(DocumentState& doc, MapSelection& selection, const map::MapGrid& clipboard) {
    if (!CanPaste(clipboard)) {
        return false;
    }
    doc.mapGrid.SaveTo(doc.undoGrid);
    PasteFrom(doc.mapGrid, clipboard, selection.x0, selection.z0);
    selection.undoSaved = false;
    selection.x1 = doc.mapGrid.selection.x1;
    selection.z1 = doc.mapGrid.selection.z1;
    return true;
}

bool EditMerge(DocumentState& doc, MapSelection& selection, const map::MapGrid& clipboard) {
    if (!CanPaste(clipboard)) {
        return false;
    }
    doc.mapGrid.SaveTo(doc.undoGrid);
    MergeFrom(doc.mapGrid, clipboard, selection.x0, selection.z0);
    selection.undoSaved = false;
    return true;
}

bool EditTurnClipboard(map::MapGrid& clipboard, BlockTurn turn) {
    if (!CanPaste(clipboard)) {
        return false;
    }
    if (turn == BlockTurn::Rotate) {
        RotateBlock(clipboard);
    } else if (turn == BlockTurn::FlipX) {
        FlipBlockX(clipboard);
    } else {
        FlipBlockZ(clipboard);
    }
    return true;
}

bool EditUndo(DocumentState& doc, MapSelection& selection) {
    if (!CanUndo(doc)) {
        return false;
    }
    if (doc.undoGrid.wholeSnapshot) {
        RestoreWholeMap(doc);
    } else {
        doc.undoGrid.SaveTo(doc.mapGrid);
    }
    selection.undoSaved = false;
    return true;
}

}  // namespace zandrel::tools
