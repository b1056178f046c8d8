#pragma once

#include <QPoint>
#include <Qt>
#include <cstdint>

namespace zandrel::view3d {

class CzandrelEditorView;

// The mouse side of a 3D view: selection by picking, tool applications by the right button,
// vertical drags and the wheel, and the camera's orbit and zoom drags. Each handler takes the
// key-state word of the message and the client-pixel point, and turns them into the terrain
// engine's calls on the view's selection and document.
class ViewMouseInput {
public:
    // Key-state flags of a mouse message. The button cases compare the whole word for
    // equality, so a held Shift, Ctrl or middle button makes them not apply.
    static constexpr std::uint32_t kLeftButton = 1;
    static constexpr std::uint32_t kRightButton = 2;
    static constexpr std::uint32_t kShift = 4;
    static constexpr std::uint32_t kControl = 8;
    static constexpr std::uint32_t kMiddleButton = 16;
    static constexpr std::uint32_t kBackButton = 32;
    static constexpr std::uint32_t kForwardButton = 64;

    // The key-state word for Qt's buttons held and keyboard modifiers.
    static std::uint32_t KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

    explicit ViewMouseInput(CzandrelEditorView& view);

    // Picks the cell under point as the anchor; a hit selects that cell alone.
    bool PickAnchor(const QPoint& point);
    // Picks the cell under point; a hit stretches the selection from the anchor to it, except
    // during start placement.
    bool PickHover(const QPoint& point);

    void OnLButtonDown(std::uint32_t flags, const QPoint& point);
    void OnLButtonUp(std::uint32_t flags, const QPoint& point);
    void OnRButtonDown(std::uint32_t flags, const QPoint& point);
    void OnRButtonUp(std::uint32_t flags, const QPoint& point);
    void OnMouseMove(std::uint32_t flags, const QPoint& point);
    // zDelta: the wheel's turn, 120 per notch; whole hundreds apply the tool once each.
    void OnMouseWheel(std::uint32_t flags, std::int16_t zDelta, const QPoint& point);

    std::int32_t AnchorHit() const { return anchorHit_; }
    std::int32_t HoverHit() const { return hoverHit_; }
    bool ToolDrag() const { return toolDrag_; }
    bool ZoomDrag() const { return zoomDrag_; }

private:
    // One application of the current tool to the selection, and the document told so.
    void ApplyTool(double value);
    void RememberPoint(const QPoint& point);

    CzandrelEditorView& view_;
    std::int32_t anchorHit_ = -1;
    std::int32_t hoverHit_ = -1;
    bool toolDrag_ = false;
    bool zoomDrag_ = false;
};

}  // namespace zandrel::view3d
