#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace zandrel::app {

// The toolbar's button images and the application icon, shipped as image files in the editor's
// resources (images/toolbar.png, and the installed icon data/zandrelEditor.png): 19 images of
// 16 x 15 pixels in button order (new, open, save, cut, copy, paste, merge, about, wireframe,
// solid, flatten, raise, tilt, level, landslide, pyramid, start, goal, enemies), in the 16 colours
// of the classic palette.
class ToolbarImages {
public:
    static constexpr int kWidth = 16;
    static constexpr int kHeight = 15;
    static constexpr int kCount = 19;

    // The whole strip, kCount * kWidth by kHeight.
    static QImage Strip();
    // Every button image as an icon, in button order, from one decoding of the strip.
    static std::vector<QIcon> Buttons();
    // The application icon (also the about box's), drawn at size x size.
    static QImage AppIcon(int size);
};

}  // namespace zandrel::app
