#pragma once

#include "document/CzandrelEditorDoc.h"

namespace zandrel::gui_test {

// The edit the recovery tests make, as a view would: change the grid, then mark the document.
// Fractional values, so a copy that lost precision or wrote a comma would not compare equal.
inline void ApplyRecoveryEdit(document::CzandrelEditorDoc& doc) {
    doc.Change(
        [](tools::DocumentState& state) {
            state.mapGrid.RaiseCell(2, 3, 1.25);
            state.mapGrid.Cell(4, 1).grav = 0.375;
            return tools::EditOutcome{};
        },
        nullptr);
}

}  // namespace zandrel::gui_test
