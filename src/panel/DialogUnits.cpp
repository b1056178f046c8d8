#include "panel/DialogUnits.h"

#include <QFontMetrics>
#include <QString>
#include <algorithm>
#include <cmath>

namespace zandrel::panel {

namespace {

// The average width is measured over both alphabets and rounded half up, as the classic
// dialog manager does, so a font gives the same units here as it would there.
int AverageCharWidth(const QFontMetrics& metrics) {
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int width = metrics.horizontalAdvance(kAlphabet);
    return (width / 26 + 1) / 2;
}

// Rounded like a multiply-then-divide of the dialog manager: halves away from zero.
int Scale(int units, int base, int divisor) {
    return static_cast<int>(std::lround(static_cast<double>(units) * base / divisor));
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    baseX_ = std::max(1, AverageCharWidth(metrics));
    baseY_ = std::max(1, metrics.height());
}

DialogUnits::DialogUnits(int baseX, int baseY)
    : baseX_(std::max(1, baseX)), baseY_(std::max(1, baseY)) {}

int DialogUnits::ToPixelsX(int units) const {
    return Scale(units, baseX_, 4);
}

int DialogUnits::ToPixelsY(int units) const {
    return Scale(units, baseY_, 8);
}

QRect DialogUnits::ToPixels(const QRect& units) const {
    const int left = ToPixelsX(units.x());
    const int top = ToPixelsY(units.y());
    const int right = ToPixelsX(units.x() + units.width());
    const int bottom = ToPixelsY(units.y() + units.height());
    return QRect(left, top, right - left, bottom - top);
}

QSize DialogUnits::ToPixels(const QSize& units) const {
    return QSize(ToPixelsX(units.width()), ToPixelsY(units.height()));
}

}  // namespace zandrel::panel
