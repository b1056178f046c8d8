#include "view3d/ViewMouseInput.h"

#include "app/CzandrelEditorDoc.h"
#include "view3d/CzandrelEditorView.h"

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

ViewMouseInput::ViewMouseInput(CzandrelEditorView& view) : view_(view) {}

tools::EditSession::Picker ViewMouseInput::PickerAt(const QPoint& point) {
    return [this, point] { return view_.Pick(point); };
}

void ViewMouseInput::OnLButtonDown(std::uint32_t flags, const QPoint& point) {
    view_.Apply(view_.session().LeftDown(flags, ToMousePoint(point), PickerAt(point),
                                         view_.GetDocument()->state()));
}

void ViewMouseInput::OnLButtonUp(std::uint32_t /*flags*/, const QPoint& /*point*/) {
    view_.Apply(view_.session().LeftUp());
}

void ViewMouseInput::OnRButtonDown(std::uint32_t flags, const QPoint& point) {
    view_.Apply(
        view_.session().RightDown(flags, ToMousePoint(point), view_.GetDocument()->state()));
}

void ViewMouseInput::OnRButtonUp(std::uint32_t /*flags*/, const QPoint& point) {
    view_.Apply(view_.session().RightUp(ToMousePoint(point)));
}

void ViewMouseInput::OnMouseWheel(std::uint32_t /*flags*/, std::int16_t zDelta,
                                  const QPoint& /*point*/) {
    view_.Apply(view_.session().Wheel(zDelta, view_.GetDocument()->state()));
}

void ViewMouseInput::OnMouseMove(std::uint32_t flags, const QPoint& point) {
    // Event points are in logical pixels, so the drags measure against the logical size.
    const tools::EditSession::ViewSize size{view_.width(), view_.height()};
    view_.Apply(view_.session().Move(flags, ToMousePoint(point), size, PickerAt(point),
                                     view_.GetDocument()->state()));
}

std::int32_t ViewMouseInput::AnchorHit() const {
    return view_.session().AnchorHit();
}

std::int32_t ViewMouseInput::HoverHit() const {
    return view_.session().HoverHit();
}

bool ViewMouseInput::ToolDrag() const {
    return view_.session().ToolDrag();
}

bool ViewMouseInput::ZoomDrag() const {
    return view_.session().ZoomDrag();
}

}  // namespace zandrel::view3d
