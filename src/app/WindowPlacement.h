#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace zandrel::app {

// Where map windows go inside the MDI area's visible part: each new one a step down and right
// of the last one placed, back at the top left when the next step would cut it off, and never
// larger than the area.
class WindowPlacement {
public:
    // wanted clipped to the area, so a window fits whole.
    static QSize FitSize(const QSize& wanted, const QSize& area);
    // The top left of the next window of size (already fitted) after one placed at last (none
    // yet: the top left corner), with the area's given size.
    static QPoint NextPosition(const std::optional<QPoint>& last, int step, const QSize& size,
                               const QSize& area);
};

}  // namespace zandrel::app
