#include "app/OpenGLProbe.h"

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QSurfaceFormat>

namespace zandrel::app {

QString OpenGLProbe::FailureMessage() {
    // With one share group for every view, Qt made its context while starting: judge that one
    // instead of paying for a second context and surface before the first frame.
    if (const QOpenGLContext* shared = QOpenGLContext::globalShareContext();
        shared != nullptr && shared->isValid()) {
        return FormatFailure(*shared);
    }
    const QSurfaceFormat wanted = QSurfaceFormat::defaultFormat();
    QOpenGLContext context;
    context.setFormat(wanted);
    if (!context.create()) {
        return QStringLiteral("OpenGL contest fail");
    }
    // Only with a context to make current is a GL surface worth asking for: without any GL
    // integration the platform cannot make one.
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        return QStringLiteral("GlMakeCurrent Error");
    }
    context.doneCurrent();
    return FormatFailure(context);
}

QString OpenGLProbe::FormatFailure(const QOpenGLContext& context) {
    const QSurfaceFormat got = context.format();
    // The views draw in immediate mode and pick with GL_SELECT: both need desktop GL that
    // keeps the deprecated calls.
    if (context.isOpenGLES() ||
        (got.profile() == QSurfaceFormat::CoreProfile && got.majorVersion() >= 3 &&
         !got.testOption(QSurfaceFormat::DeprecatedFunctions))) {
        return QStringLiteral("ChoosePixelFormat failed");
    }
    return {};
}

}  // namespace zandrel::app
