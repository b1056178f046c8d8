#include "tools/EditSession.h"

#include <algorithm>

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
    return {true, true, false, std::string(name)};
}

std::string_view BrushName(BrushKind kind) {
    return kind == BrushKind::Tile ? kBrushTileName : kBrushWallName;
}

// A brush stroke redraws on every move and tells the other views once, when it ends.
EditOutcome StrokeGoesOn(BrushKind kind) {
    return {true, false, true, std::string(BrushName(kind))};
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
    DropBrush();
}

void EditSession::DropBrush() {
    brush_ = BrushKind::Off;
    stroke_.reset();
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
    if (brush_ != BrushKind::Off) {
        // The brush paints where the pointer goes; the selection and placements stay.
        stroke_.emplace(brush_, brushSlot_);
        stroke_->Reach(doc.mapGrid, pick());
        return StrokeGoesOn(brush_);
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
    stroke_.reset();
    zoomDrag_ = false;
    toolDrag_ = false;
    navigator_.FocusOn(selection_.x0, selection_.z0, selection_.x1, selection_.z1);
    return {};
}

EditOutcome EditSession::RightDown(std::uint32_t flags, MousePoint point, DocumentState& doc) {
    RememberPoint(point);
    // With a brush on, the left button belongs to the stroke and applies no tool.
    if (flags != kBothButtons || brush_ != BrushKind::Off) {
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
    if (stroke_ && flags == kLeftButton) {
        stroke_->Reach(doc.mapGrid, pick());
        return StrokeGoesOn(brush_);
    }
    // A release that never arrived: the stroke ends with the first move without the button.
    stroke_.reset();
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
    DropBrush();
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
    DropBrush();
    tools_.toggleStartPlacement();
    return kRedraw;
}

EditOutcome EditSession::ToggleEnemyPlacement() {
    DropBrush();
    tools_.toggleEnemyPlacement();
    return kRedraw;
}

EditOutcome EditSession::ToggleBrush(BrushKind kind) {
    const BrushKind chosen = brush_ == kind ? BrushKind::Off : kind;
    DropBrush();
    brush_ = chosen;
    return kRedraw;
}

EditOutcome EditSession::StopBrush() {
    DropBrush();
    return kRedraw;
}

EditOutcome EditSession::PaintStroke(BrushKind kind, std::int32_t slot,
                                     std::span<const std::int32_t> cells, DocumentState& doc) {
    TextureStroke stroke(kind, slot);
    for (const std::int32_t cell : cells) {
        stroke.Reach(doc.mapGrid, cell);
    }
    return Named(BrushName(kind));
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
    // The whole map, since a return across a resize moves cells that heights alone cannot put
    // back; undo then uses only the heights unless the sizes changed.
    doc.undoGrid = doc.mapGrid;
    doc.undoGrid.hasContent = true;
    doc.mapGrid.hasContent = false;
    history.ReturnTo(number, doc.mapGrid);
    const map::MapGrid& map = doc.mapGrid;
    doc.undoGrid.wholeSnapshot = doc.undoGrid.SizeX != map.SizeX || doc.undoGrid.SizeZ != map.SizeZ;
    if (doc.undoGrid.wholeSnapshot) {
        // The selection stays on cells of the map it now shows.
        const auto inX = [&map](std::int32_t x) { return std::clamp(x, 0, map.SizeX - 1); };
        const auto inZ = [&map](std::int32_t z) { return std::clamp(z, 0, map.SizeZ - 1); };
        selection_.Set(inX(selection_.x0), inZ(selection_.z0), inX(selection_.x1),
                       inZ(selection_.z1));
    }
    selection_.undoSaved = false;
    return Named(ReturnName(number));
}

EditOutcome EditSession::TurnClipboard(map::MapGrid& clipboard, BlockTurn turn) {
    // Only the clipboard changes: the map and the view stay as they are.
    EditTurnClipboard(clipboard, turn);
    return {};
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
