#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "map/MapGrid.h"
#include "tools/DocumentState.h"
#include "tools/EditCommands.h"
#include "tools/MapSelection.h"
#include "tools/OrbitNavigator.h"
#include "tools/TextureStroke.h"
#include "tools/ToolState.h"

namespace zandrel::tools {

// What an edit or a mouse event asks of the window: its own redraw, and the other windows of the
// map told. Whether the map changed is the document's to tell, from what a save would write.
// holdChange: the edit goes on in the events that follow (a brush stroke), so the document
// neither decides the modified flag nor tells the other views until an edit ends without it.
// For the history: the command the edit is named after (empty: the caller names it; a held
// change's name stays for the edit that ends it), and for a terrain tool application the undo
// step it belongs to, so one stroke makes one entry.
struct EditOutcome {
    bool redraw = false;
    bool notifyViews = false;
    bool holdChange = false;
    std::string name{};
    std::uint64_t undoStep = 0;
};

class EditHistory;

// The editing state of one 3D view and the rules of its mouse and commands: the selection, the
// current and saved tool, the pick anchor and hover hits, the drag state and the camera drags.
// The window translates its events into these calls and draws; the command-line script drives
// the same calls, so both follow one set of rules. The map is passed to each call, since a
// script replaces its document on new and open.
class EditSession {
public:
    // Key-state word of a mouse event. The button cases compare the whole word for equality,
    // so a held Shift, Ctrl, middle or side button makes them not apply.
    static constexpr std::uint32_t kLeftButton = 1;
    static constexpr std::uint32_t kRightButton = 2;
    static constexpr std::uint32_t kShift = 4;
    static constexpr std::uint32_t kControl = 8;
    static constexpr std::uint32_t kMiddleButton = 16;
    static constexpr std::uint32_t kBackButton = 32;
    static constexpr std::uint32_t kForwardButton = 64;
    static constexpr std::uint32_t kBothButtons = kLeftButton | kRightButton;

    // A new view selects the single cell in the middle of the largest map.
    static constexpr std::int32_t kFirstSelectedCell = 25;

    // The cell name (z * 100 + x, or -1 for none) under the event's point, asked only by the
    // cases that pick, since a pick costs a redraw in selection mode.
    using Picker = std::function<std::int32_t()>;

    // The view's size in the event's pixels; drags measure against it.
    struct ViewSize {
        std::int32_t width = 0;
        std::int32_t height = 0;
    };

    EditSession();

    // Back to a new view's state: first cell selected, no tool, no drag.
    void Reset();

    // Mouse events.
    EditOutcome LeftDown(std::uint32_t flags, MousePoint point, const Picker& pick,
                         DocumentState& doc);
    EditOutcome LeftUp();
    EditOutcome RightDown(std::uint32_t flags, MousePoint point, DocumentState& doc);
    EditOutcome RightUp(MousePoint point);
    // zDelta: the wheel's turn, 120 per notch; whole hundreds apply the tool once each.
    EditOutcome Wheel(std::int16_t zDelta, DocumentState& doc);
    EditOutcome Move(std::uint32_t flags, MousePoint point, ViewSize size, const Picker& pick,
                     DocumentState& doc);

    // The tool and placement commands of the "F&unzioni" menu.
    EditOutcome ChooseTool(std::int32_t mode, DocumentState& doc);
    EditOutcome ToggleGoal(DocumentState& doc);
    EditOutcome ToggleStartPlacement();
    EditOutcome ToggleEnemyPlacement();
    bool IsToolEnabled(std::int32_t mode) const;
    bool IsToolChecked(std::int32_t mode) const { return tools_.isChecked(mode); }

    // "Pennello tile" and "Pennello wall": while one is on, a left drag paints its texture on
    // every cell the pointer passes instead of selecting; choosing it again, Escape (StopBrush)
    // or any tool turns it off. The slot is the panel's current entry, -1 for none.
    EditOutcome ToggleBrush(BrushKind kind);
    EditOutcome StopBrush();
    BrushKind Brush() const { return brush_; }
    void SetBrushSlot(std::int32_t slot) { brushSlot_ = slot; }
    bool InStroke() const { return stroke_.has_value(); }
    // A whole stroke through the named cells (z * 100 + x) in order, without a picking view.
    EditOutcome PaintStroke(BrushKind kind, std::int32_t slot, std::span<const std::int32_t> cells,
                            DocumentState& doc);

    // The "&Modifica" menu on the application's clipboard.
    EditOutcome Copy(const DocumentState& doc, map::MapGrid& clipboard);
    EditOutcome Cut(DocumentState& doc, map::MapGrid& clipboard);
    EditOutcome Paste(DocumentState& doc, const map::MapGrid& clipboard);
    EditOutcome Merge(DocumentState& doc, const map::MapGrid& clipboard);
    EditOutcome Undo(DocumentState& doc);
    // The map's content back to its state just after history entry number, as one edit that
    // takes the undo snapshot first and starts a new undo step, as a paste does (the whole map
    // when the sizes change, as a resize does). Nothing happens for an entry the history no
    // longer keeps.
    EditOutcome ReturnTo(const EditHistory& history, std::uint64_t number, DocumentState& doc);
    EditOutcome TurnClipboard(map::MapGrid& clipboard, BlockTurn turn);

    // A whole drag from cell (x0, z0) to (x1, z1), and a left click on a cell with any pending
    // placement, without a picking view behind them.
    void SelectCells(std::int32_t x0, std::int32_t z0, std::int32_t x1, std::int32_t z1);
    EditOutcome ClickCell(std::int32_t x, std::int32_t z, DocumentState& doc);
    // Makes mode the current tool and applies it once with value.
    EditOutcome UseTool(std::int32_t mode, double value, DocumentState& doc);

    // Before every draw the view stores its selection in the map (goal toggling, paste and
    // merge read that copy).
    void StoreSelection(map::MapGrid& grid) const;

    const MapSelection& selection() const { return selection_; }
    MapSelection& selection() { return selection_; }
    const ToolState& toolState() const { return tools_; }
    ToolState& toolState() { return tools_; }
    const OrbitNavigator& navigator() const { return navigator_; }
    OrbitNavigator& navigator() { return navigator_; }
    std::int32_t AnchorHit() const { return anchorHit_; }
    std::int32_t HoverHit() const { return hoverHit_; }
    bool ToolDrag() const { return toolDrag_; }
    bool ZoomDrag() const { return zoomDrag_; }
    // The undo step of the last tool application, counted from 1 in this session.
    std::uint64_t UndoStep() const { return undoStep_; }

private:
    // One application of the current tool to the selection, named for the history.
    EditOutcome ApplyTool(DocumentState& doc, double value);
    bool PickAnchor(const Picker& pick);
    bool PickHover(const Picker& pick);
    void RememberPoint(MousePoint point);
    // Any other tool turns the brush off.
    void DropBrush();

    MapSelection selection_;
    ToolState tools_;
    OrbitNavigator navigator_;
    std::int32_t anchorHit_ = -1;
    std::int32_t hoverHit_ = -1;
    bool toolDrag_ = false;
    bool zoomDrag_ = false;
    // Hundredths of a pixel of a vertical tool drag that no whole step has used yet, times the
    // view height: slow drags add up instead of rounding every event to nothing.
    std::int32_t dragRemainder_ = 0;
    // Grows with every tool application that takes a new undo snapshot.
    std::uint64_t undoStep_ = 0;
    BrushKind brush_ = BrushKind::Off;
    std::int32_t brushSlot_ = -1;
    // From the left press to its release while a brush is on.
    std::optional<TextureStroke> stroke_;
};

}  // namespace zandrel::tools
