#pragma once

#include <QPoint>
#include <Qt>
#include <cstdint>

#include "tools/EditSession.h"

namespace zandrel::view3d {

class EditHost;

// The mouse side of a 3D view: turns Qt's events into the edit session's calls with the
// key-state word, the client-pixel point and a picker, through the view's edit entry point.
class ViewMouseInput {
public:
    static constexpr std::uint32_t kLeftButton = tools::EditSession::kLeftButton;
    static constexpr std::uint32_t kRightButton = tools::EditSession::kRightButton;
    static constexpr std::uint32_t kShift = tools::EditSession::kShift;
    static constexpr std::uint32_t kControl = tools::EditSession::kControl;
    static constexpr std::uint32_t kMiddleButton = tools::EditSession::kMiddleButton;
    static constexpr std::uint32_t kBackButton = tools::EditSession::kBackButton;
    static constexpr std::uint32_t kForwardButton = tools::EditSession::kForwardButton;

    // The key-state word for Qt's buttons held and keyboard modifiers.
    static std::uint32_t KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

    explicit ViewMouseInput(EditHost& host);

    void OnLButtonDown(std::uint32_t flags, const QPoint& point);
    void OnLButtonUp(std::uint32_t flags, const QPoint& point);
    void OnRButtonDown(std::uint32_t flags, const QPoint& point);
    void OnRButtonUp(std::uint32_t flags, const QPoint& point);
    void OnMouseMove(std::uint32_t flags, const QPoint& point);
    // zDelta: the wheel's turn, 120 per notch; whole hundreds apply the tool once each.
    void OnMouseWheel(std::uint32_t flags, std::int16_t zDelta, const QPoint& point);

    std::int32_t AnchorHit() const;
    std::int32_t HoverHit() const;
    bool ToolDrag() const;
    bool ZoomDrag() const;

private:
    tools::EditSession::Picker PickerAt(const QPoint& point);

    EditHost& host_;
};

}  // namespace zandrel::view3d
