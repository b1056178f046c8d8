#include "app/ToolbarImages.h"

#include <QPixmap>

// The images live in a static library, whose resource registration the linker would drop
// unless something refers to it.
static void RegisterImages() {
    Q_INIT_RESOURCE(images);
}

namespace zandrel::app {

namespace {

QImage ResourceImage(const QString& path) {
    static const bool registered = (RegisterImages(), true);
    (void)registered;
    return QImage(path);
}

}  // namespace

QImage ToolbarImages::Strip() {
    return ResourceImage(QStringLiteral(":/images/toolbar.png"))
        .convertToFormat(QImage::Format_ARGB32);
}

QIcon ToolbarImages::Button(int index) {
    if (index < 0 || index >= kCount) {
        return {};
    }
    return QIcon(QPixmap::fromImage(Strip().copy(index * kWidth, 0, kWidth, kHeight)));
}

QImage ToolbarImages::AppIcon(int size) {
    return ResourceImage(QStringLiteral(":/images/zandrelEditor.png"))
        .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace zandrel::app
