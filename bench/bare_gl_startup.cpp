// The floor for the editor's start-up: a bare Qt program that shows one QOpenGLWidget, clears
// it and quits after its first frame. Compare with the editor under
// ZANDREL_QUIT_AFTER_FIRST_FRAME=1 (bench/startup.sh runs both).
#include <GL/gl.h>

#include <QApplication>
#include <QOpenGLWidget>
#include <cstdio>
#include <cstdlib>

#include "app/EditorSurfaceFormat.h"

namespace {

class FirstFrameWidget : public QOpenGLWidget {
protected:
    void paintGL() override {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
        // As the editor does under ZANDREL_QUIT_AFTER_FIRST_FRAME: shutdown is not start-up.
        std::fflush(nullptr);
        std::_Exit(0);
    }
};

}  // namespace

int main(int argc, char** argv) {
    zandrel::app::UseEditorSurfaceFormat();
    QApplication application(argc, argv);
    FirstFrameWidget widget;
    widget.resize(1024, 768);
    widget.show();
    return QApplication::exec();
}
