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

std::vector<QIcon> ToolbarImages::Buttons() {
    const QImage strip = Strip();
    std::vector<QIcon> icons;
    icons.reserve(kCount);
    for (int index = 0; index < kCount; ++index) {
        icons.emplace_back(QPixmap::fromImage(strip.copy(index * kWidth, 0, kWidth, kHeight)));
    }
    return icons;
}

QImage ToolbarImages::AppIcon(int size) {
    return ResourceImage(QStringLiteral(":/images/zandrelEditor.png"))
        .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace zandrel::app
