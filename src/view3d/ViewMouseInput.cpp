#include "view3d/ViewMouseInput.h"

#include "view3d/EditHost.h"

namespace zandrel::view3d {

namespace {

tools::MousePoint ToMousePoint(const QPoint& point) {
    return {point.x(), point.y()};
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

ViewMouseInput::ViewMouseInput(EditHost& host) : host_(host) {}

tools::EditSession::Picker ViewMouseInput::PickerAt(const QPoint& point) {
    return [this, point] { return host_.Pick(point); };
}

void ViewMouseInput::OnLButtonDown(std::uint32_t flags, const QPoint& point) {
    const tools::EditSession::Picker pick = PickerAt(point);
    // A stroke paints the entry chosen when it starts.
    const std::int32_t slot = host_.BrushSlot();
    host_.Edit([&](tools::EditSession& session, tools::DocumentState& doc) {
        session.SetBrushSlot(slot);
        return session.LeftDown(flags, ToMousePoint(point), pick, doc);
    });
}

void ViewMouseInput::OnLButtonUp(std::uint32_t /*flags*/, const QPoint& /*point*/) {
    host_.Edit([](tools::EditSession& session, tools::DocumentState& /*doc*/) {
        return session.LeftUp();
    });
}

void ViewMouseInput::OnRButtonDown(std::uint32_t flags, const QPoint& point) {
    host_.Edit([&](tools::EditSession& session, tools::DocumentState& doc) {
        return session.RightDown(flags, ToMousePoint(point), doc);
    });
}

void ViewMouseInput::OnRButtonUp(std::uint32_t /*flags*/, const QPoint& point) {
    host_.Edit([&](tools::EditSession& session, tools::DocumentState& /*doc*/) {
        return session.RightUp(ToMousePoint(point));
    });
}

void ViewMouseInput::OnMouseWheel(std::uint32_t /*flags*/, std::int16_t zDelta,
                                  const QPoint& /*point*/) {
    host_.Edit([zDelta](tools::EditSession& session, tools::DocumentState& doc) {
        return session.Wheel(zDelta, doc);
    });
}

void ViewMouseInput::OnMouseMove(std::uint32_t flags, const QPoint& point) {
    // Event points are in logical pixels, so the drags measure against the logical size.
    const QSize logical = host_.LogicalSize();
    const tools::EditSession::ViewSize size{logical.width(), logical.height()};
    const tools::EditSession::Picker pick = PickerAt(point);
    host_.Edit([&](tools::EditSession& session, tools::DocumentState& doc) {
        return session.Move(flags, ToMousePoint(point), size, pick, doc);
    });
}

std::int32_t ViewMouseInput::AnchorHit() const {
    return host_.Session().AnchorHit();
}

std::int32_t ViewMouseInput::HoverHit() const {
    return host_.Session().HoverHit();
}

bool ViewMouseInput::ToolDrag() const {
    return host_.Session().ToolDrag();
}

bool ViewMouseInput::ZoomDrag() const {
    return host_.Session().ZoomDrag();
}

}  // namespace zandrel::view3d
