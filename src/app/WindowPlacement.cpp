#include "app/WindowPlacement.h"

#include <algorithm>

namespace zandrel::app {

QSize WindowPlacement::FitSize(const QSize& wanted, const QSize& area) {
    return {std::max(1, std::min(wanted.width(), area.width())),
            std::max(1, std::min(wanted.height(), area.height()))};
}

QPoint WindowPlacement::NextPosition(const std::optional<QPoint>& last, int step, const QSize& size,
                                     const QSize& area) {
    if (!last.has_value()) {
        return {0, 0};
    }
    const QPoint next = *last + QPoint(step, step);
    const bool fits = next.x() >= 0 && next.y() >= 0 && next.x() + size.width() <= area.width() &&
                      next.y() + size.height() <= area.height();
    return fits ? next : QPoint(0, 0);
}

}  // namespace zandrel::app
