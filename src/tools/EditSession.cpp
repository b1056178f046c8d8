#include "tools/EditSession.h"

#include "tools/EditCommands.h"
#include "tools/EditHistory.h"
#include "tools/EditNames.h"
#include "tools/Placement.h"
#include "tools/ToolMode.h"

namespace zandrel::tools {

namespace {

// A wheel turn of whole hundreds gives one step each, rounded toward zero: a notch of 120
// gives 1, a fine-grained turn below 100 gives 0.
constexpr double WheelSteps(std::int16_t zDelta) {
    return static_cast<double>(zDelta / 100);
}

const EditOutcome kRedraw{true, false};
const EditOutcome kRedrawAndNotify{true, true};

EditOutcome Named(std::string_view name) {
    return {true, true, std::string(name)};
}

}  // namespace

EditSession::EditSession() {
    Reset();
}

void EditSession::Reset() {
    selection_ = MapSelection(kFirstSelectedCell, kFirstSelectedCell, kFirstSelectedCell,
                              kFirstSelectedCell);
    tools_ = ToolState();
    anchorHit_ = -1;
    hoverHit_ = -1;
    toolDrag_ = false;
    zoomDrag_ = false;
    dragRemainder_ = 0;
}

EditOutcome EditSession::ApplyTool(DocumentState& doc, double value) {
    if (!selection_.undoSaved) {
        ++undoStep_;
    }
    selection_.applyTool(doc.mapGrid, doc.undoGrid, tools_.toolMode, value);
    EditOutcome outcome = Named(ToolName(tools_.toolMode));
    outcome.undoStep = undoStep_;
    return outcome;
}

bool EditSession::PickAnchor(const Picker& pick) {
    anchorHit_ = pick();
    if (anchorHit_ >= 0) {
        selection_.setFromHits(anchorHit_, anchorHit_);
    }
    return anchorHit_ != -1;
}

bool EditSession::PickHover(const Picker& pick) {
    hoverHit_ = pick();
    // During start placement the selection stays the single cell under the pointer. Until a
    // pick has hit a cell (a fresh view's first press missed the map) there is no anchor, and
    // stretching from name -1 would reach column -1, outside the map.
    if (hoverHit_ >= 0 && anchorHit_ >= 0 && tools_.toolMode != TOOL_PLACE_START) {
        selection_.setFromHits(anchorHit_, hoverHit_);
    }
    return hoverHit_ != -1;
}

void EditSession::RememberPoint(MousePoint point) {
    navigator_.lastPoint = point;
    navigator_.prevPoint = point;
}

EditOutcome EditSession::LeftDown(std::uint32_t flags, MousePoint point, const Picker& pick,
                                  DocumentState& doc) {
    RememberPoint(point);
    if (flags == kBothButtons) {
        zoomDrag_ = true;
        return {};
    }
    if (flags != kLeftButton) {
        return {};
    }
    if (!PickAnchor(pick)) {
        anchorHit_ = hoverHit_;
    }
    const std::int32_t placing = tools_.toolMode;
    tools_.placeOnClick(selection_, doc);
    // The panel shows the new selection's values without waiting for a mouse move.
    return Named(placing == TOOL_PLACE_START   ? kStartName
                 : placing == TOOL_PLACE_ENEMY ? kEnemyName
                                               : std::string_view());
}

EditOutcome EditSession::LeftUp() {
    zoomDrag_ = false;
    toolDrag_ = false;
    navigator_.FocusOn(selection_.x0, selection_.z0, selection_.x1, selection_.z1);
    return {};
}

EditOutcome EditSession::RightDown(std::uint32_t flags, MousePoint point, DocumentState& doc) {
    RememberPoint(point);
    if (flags != kBothButtons) {
        return kRedraw;
    }
    toolDrag_ = true;
    dragRemainder_ = 0;
    return ApplyTool(doc, 0.0);
}

EditOutcome EditSession::RightUp(MousePoint point) {
    toolDrag_ = false;
    RememberPoint(point);
    return {};
}

EditOutcome EditSession::Wheel(std::int16_t zDelta, DocumentState& doc) {
    return ApplyTool(doc, WheelSteps(zDelta));
}

EditOutcome EditSession::Move(std::uint32_t flags, MousePoint point, ViewSize size,
                              const Picker& pick, DocumentState& doc) {
    const map::MapGrid& grid = doc.mapGrid;
    if (flags == kLeftButton) {
        if (!PickHover(pick)) {
            hoverHit_ = anchorHit_;
        } else if (tools_.toolMode == TOOL_PLACE_START && !PickAnchor(pick)) {
            anchorHit_ = hoverHit_;
        }
    } else if (flags == kRightButton) {
        navigator_.FollowOrbit(grid, navigator_.camera.target[0], navigator_.camera.target[2]);
        navigator_.DragOrbit(point.x, point.y, OrbitNavigator::kRotate, size.width, size.height);
    } else if (flags == kBothButtons) {
        if (zoomDrag_) {
            navigator_.DragOrbit(point.x, point.y, OrbitNavigator::kZoom, size.width, size.height);
            navigator_.FollowOrbit(grid, navigator_.focusX, navigator_.focusZ);
        }
        // A view without height gets no moves in practice; it must not divide by zero either.
        if (toolDrag_ && size.height > 0) {
            // Hundredths of the view height moved, upward positive, in whole steps toward zero;
            // what a step does not use carries to the next move, so a drag over the full height
            // gives 100 at any speed.
            const std::int64_t moved =
                std::int64_t{navigator_.lastPoint.y - point.y} * 100 + dragRemainder_;
            const std::int64_t hundredths = moved / size.height;
            dragRemainder_ = static_cast<std::int32_t>(moved - hundredths * size.height);
            navigator_.lastPoint.y = point.y;
            return ApplyTool(doc, static_cast<double>(hundredths));
        }
    }
    return kRedrawAndNotify;
}

EditOutcome EditSession::ChooseTool(std::int32_t mode, DocumentState& doc) {
    if (!AppliesWhenChosen(mode)) {
        tools_.toolMode = mode;
        return kRedraw;
    }
    tools_.toolMode = mode;
    return ApplyTool(doc, 0.0);
}

EditOutcome EditSession::ToggleGoal(DocumentState& doc) {
    // Acts on the selection as the map stored it at the last draw, which is what the view shows.
    tools::ToggleGoal(doc.mapGrid);
    return Named(kGoalName);
}

EditOutcome EditSession::ToggleStartPlacement() {
    tools_.toggleStartPlacement();
    return kRedraw;
}

EditOutcome EditSession::ToggleEnemyPlacement() {
    tools_.toggleEnemyPlacement();
    return kRedraw;
}

bool EditSession::IsToolEnabled(std::int32_t mode) const {
    return ToolState::isToolEnabled(mode, selection_);
}

EditOutcome EditSession::Copy(const DocumentState& doc, map::MapGrid& clipboard) {
    EditCopy(doc, selection_, clipboard);
    return {};
}

EditOutcome EditSession::Cut(DocumentState& doc, map::MapGrid& clipboard) {
    // The flattened block shows now rather than at the next mouse move.
    EditCut(doc, selection_, clipboard);
    return Named(kCutName);
}

EditOutcome EditSession::Paste(DocumentState& doc, const map::MapGrid& clipboard) {
    if (!CanPaste(clipboard)) {
        return {};
    }
    EditPaste(doc, selection_, clipboard);
    return Named(kPasteName);
}

EditOutcome EditSession::Merge(DocumentState& doc, const map::MapGrid& clipboard) {
    if (!CanPaste(clipboard)) {
        return {};
    }
    EditMerge(doc, selection_, clipboard);
    return Named(kMergeName);
}

EditOutcome EditSession::Undo(DocumentState& doc) {
    if (!CanUndo(doc)) {
        return {};
    }
    EditUndo(doc, selection_);
    return Named(kUndoName);
}

EditOutcome EditSession::ReturnTo(const EditHistory& history, std::uint64_t number,
                                  DocumentState& doc) {
    if (history.Find(number) == nullptr) {
        return {};
    }
    doc.mapGrid.SaveTo(doc.undoGrid);
    history.ReturnTo(number, doc.mapGrid);
    selection_.undoSaved = false;
    return Named(ReturnName(number));
}

void EditSession::SelectCells(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1) {
    anchorHit_ = MapSelection::CellName(x0, z0);
    hoverHit_ = MapSelection::CellName(x1, z1);
    selection_.setFromHits(anchorHit_, hoverHit_);
}

EditOutcome EditSession::ClickCell(std::int32_t x, std::int32_t z, DocumentState& doc) {
    const std::int32_t name = MapSelection::CellName(x, z);
    return LeftDown(
        kLeftButton, navigator_.lastPoint, [name] { return name; }, doc);
}

EditOutcome EditSession::UseTool(std::int32_t mode, double value, DocumentState& doc) {
    tools_.toolMode = mode;
    return ApplyTool(doc, value);
}

void EditSession::StoreSelection(map::MapGrid& grid) const {
    grid.SetSelection(selection_.x0, selection_.z0, selection_.x1, selection_.z1);
}

}  // namespace zandrel::tools
