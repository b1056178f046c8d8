#include "view3d/ViewMouseInput.h"

#include "app/CzandrelEditorDoc.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::view3d {

namespace {

constexpr std::uint32_t kBothButtons = ViewMouseInput::kLeftButton | ViewMouseInput::kRightButton;

// A wheel turn of whole hundreds gives one step each, rounded toward zero: a notch of 120
// gives 1, a fine-grained turn below 100 gives 0.
constexpr double WheelSteps(std::int16_t zDelta) {
    return static_cast<double>(zDelta / 100);
}

// No tool and the placement modes leave the heights alone: applying them (a wheel turned out
// of habit, say) must not make the map count as changed.
constexpr bool ShapesTerrain(std::int32_t mode) {
    switch (mode) {
        case tools::TOOL_LEVEL:
        case tools::TOOL_LANDSLIDE:
        case tools::TOOL_TILT:
        case tools::TOOL_FLATTEN:
        case tools::TOOL_PYRAMID:
        case tools::TOOL_RAISE:
        case tools::TOOL_SET_HEIGHT:
            return true;
        default:
            return false;
    }
}

}  // namespace

std::uint32_t ViewMouseInput::KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    std::uint32_t flags = 0;
    flags |= buttons.testFlag(Qt::LeftButton) ? kLeftButton : 0;
    flags |= buttons.testFlag(Qt::RightButton) ? kRightButton : 0;
    flags |= modifiers.testFlag(Qt::ShiftModifier) ? kShift : 0;
    flags |= modifiers.testFlag(Qt::ControlModifier) ? kControl : 0;
    flags |= buttons.testFlag(Qt::MiddleButton) ? kMiddleButton : 0;
    flags |= buttons.testFlag(Qt::BackButton) ? kBackButton : 0;
    flags |= buttons.testFlag(Qt::ForwardButton) ? kForwardButton : 0;
    return flags;
}

ViewMouseInput::ViewMouseInput(CzandrelEditorView& view) : view_(view) {}

bool ViewMouseInput::PickAnchor(const QPoint& point) {
    anchorHit_ = view_.Pick(point);
    if (anchorHit_ >= 0) {
        view_.selection().setFromHits(anchorHit_, anchorHit_);
    }
    return anchorHit_ != -1;
}

bool ViewMouseInput::PickHover(const QPoint& point) {
    hoverHit_ = view_.Pick(point);
    // During start placement the selection stays the single cell under the pointer. Until a
    // pick has hit a cell (a fresh view's first press missed the map) there is no anchor, and
    // stretching from name -1 would reach column -1, outside the map.
    if (hoverHit_ >= 0 && anchorHit_ >= 0 &&
        view_.toolState().toolMode != tools::TOOL_PLACE_START) {
        view_.selection().setFromHits(anchorHit_, hoverHit_);
    }
    return hoverHit_ != -1;
}

void ViewMouseInput::RememberPoint(const QPoint& point) {
    tools::OrbitNavigator& navigator = view_.navigator();
    navigator.lastPoint = {point.x(), point.y()};
    navigator.prevPoint = navigator.lastPoint;
}

void ViewMouseInput::ApplyTool(double value) {
    const std::int32_t mode = view_.toolState().toolMode;
    view_.selection().applyTool(view_.GetDocument()->mapGrid(), view_.GetDocument()->undoGrid(),
                                mode, value);
    if (ShapesTerrain(mode)) {
        view_.GetDocument()->SetModified(true);
    }
}

void ViewMouseInput::OnLButtonDown(std::uint32_t flags, const QPoint& point) {
    RememberPoint(point);
    if (flags == kLeftButton) {
        if (!PickAnchor(point)) {
            anchorHit_ = hoverHit_;
        }
        tools::ToolState& toolState = view_.toolState();
        const bool placing = toolState.toolMode == tools::TOOL_PLACE_START ||
                             toolState.toolMode == tools::TOOL_PLACE_ENEMY;
        toolState.placeOnClick(view_.selection(), view_.GetDocument()->state());
        view_.RedrawNow();
        // The panel shows the new selection's values without waiting for a mouse move.
        if (placing) {
            view_.GetDocument()->MarkChanged(&view_);
        } else {
            view_.GetDocument()->UpdateAllViews(&view_);
        }
    } else if (flags == kBothButtons) {
        zoomDrag_ = true;
    }
}

void ViewMouseInput::OnLButtonUp(std::uint32_t /*flags*/, const QPoint& /*point*/) {
    zoomDrag_ = false;
    toolDrag_ = false;
    const tools::MapSelection& selection = view_.selection();
    view_.navigator().FocusOn(selection.x0, selection.z0, selection.x1, selection.z1);
}

void ViewMouseInput::OnRButtonDown(std::uint32_t flags, const QPoint& point) {
    RememberPoint(point);
    const bool applied = flags == kBothButtons;
    if (applied) {
        ApplyTool(0.0);
        toolDrag_ = true;
    }
    view_.RedrawNow();
    if (applied) {
        view_.GetDocument()->UpdateAllViews(&view_);
    }
}

void ViewMouseInput::OnRButtonUp(std::uint32_t /*flags*/, const QPoint& point) {
    toolDrag_ = false;
    RememberPoint(point);
}

void ViewMouseInput::OnMouseWheel(std::uint32_t /*flags*/, std::int16_t zDelta,
                                  const QPoint& /*point*/) {
    ApplyTool(WheelSteps(zDelta));
    view_.GetDocument()->UpdateAllViews(&view_);
    view_.RedrawNow();
}

void ViewMouseInput::OnMouseMove(std::uint32_t flags, const QPoint& point) {
    tools::OrbitNavigator& navigator = view_.navigator();
    const map::MapGrid& grid = view_.GetDocument()->mapGrid();
    // Event points are in logical pixels, so the drags measure against the logical size.
    const std::int32_t width = view_.width();
    const std::int32_t height = view_.height();
    if (flags == kLeftButton) {
        if (!PickHover(point)) {
            hoverHit_ = anchorHit_;
        } else if (view_.toolState().toolMode == tools::TOOL_PLACE_START && !PickAnchor(point)) {
            anchorHit_ = hoverHit_;
        }
    } else if (flags == kRightButton) {
        navigator.FollowOrbit(grid, navigator.camera.target[0], navigator.camera.target[2]);
        navigator.DragOrbit(point.x(), point.y(), tools::OrbitNavigator::kRotate, width, height);
    } else if (flags == kBothButtons) {
        if (zoomDrag_) {
            navigator.DragOrbit(point.x(), point.y(), tools::OrbitNavigator::kZoom, width, height);
            navigator.FollowOrbit(grid, navigator.focusX, navigator.focusZ);
        }
        // A view without height gets no moves in practice; it must not divide by zero either.
        if (toolDrag_ && height > 0) {
            // Hundredths of the view height moved, upward positive, rounded toward zero.
            const std::int32_t hundredths = ((navigator.lastPoint.y - point.y()) * 100) / height;
            ApplyTool(static_cast<double>(hundredths));
            navigator.lastPoint.y = point.y();
        }
    }
    view_.RedrawNow();
    view_.GetDocument()->UpdateAllViews(&view_);
}

}  // namespace zandrel::view3d
