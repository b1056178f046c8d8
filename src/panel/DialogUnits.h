#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace zandrel::panel {

// Converts the dialog units of a form template into pixels for one font, the way dialog
// templates have always been laid out: a horizontal unit is a quarter of the font's average
// character width, a vertical unit an eighth of its height. Edges are converted, not sizes, so
// neighbouring controls that touch in units still touch in pixels.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    // For fixed base units (a font's measure already known).
    DialogUnits(int baseX, int baseY);

    int BaseX() const { return baseX_; }
    int BaseY() const { return baseY_; }

    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(const QRect& units) const;
    QSize ToPixels(const QSize& units) const;

private:
    int baseX_;
    int baseY_;
};

}  // namespace zandrel::panel
