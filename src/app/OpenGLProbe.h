#pragma once

#include <QString>

class QOpenGLContext;

namespace zandrel::app {

// Whether the map views will get the GL context they draw with. Without any usable OpenGL,
// Qt crashes once a GL widget is shown, so start-up asks this before the first map window
// exists. Needs the QApplication and the editor's default surface format.
class OpenGLProbe {
public:
    // Empty when a context of the default format can be created, made current and drawn into
    // with fixed-function GL; otherwise the message the map view shows for the step that
    // failed ("OpenGL contest fail", "GlMakeCurrent Error", "ChoosePixelFormat failed").
    static QString FailureMessage();

private:
    // The message for a context that exists but cannot draw the views' way, or empty.
    static QString FormatFailure(const QOpenGLContext& context);
};

}  // namespace zandrel::app
