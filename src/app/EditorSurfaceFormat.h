#pragma once

#include <QSurfaceFormat>

namespace zandrel::app {

// The views draw with fixed-function GL: a compatibility context that keeps the deprecated
// calls (asking for 3.0 or later without them yields a core context where nothing draws).
// Must be made the default before the QApplication exists.
inline void UseEditorSurfaceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(2, 1);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setOption(QSurfaceFormat::DeprecatedFunctions);
    format.setDepthBufferSize(24);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    QSurfaceFormat::setDefaultFormat(format);
}

}  // namespace zandrel::app
