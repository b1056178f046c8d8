// The floor for the editor's start-up: a bare Qt program showing what the editor's first frame
// shows at the least, a 1024 x 768 main window with the editor's menus (from its command table,
// with a map open), its toolbar images, a status bar and one native GL window embedded as the
// map view's is, which draws one quad with a texture decoded by DevIL, as the editor's are, and
// quits after its first frame. No panel, no MDI area, no document. Compare with the editor under
// ZANDREL_QUIT_AFTER_FIRST_FRAME=1 (bench/startup.sh runs both).
#include <GL/gl.h>
#include <GL/glu.h>
#include <IL/il.h>

#include <QApplication>
#include <QExposeEvent>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QOpenGLContext>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "FloorQuad.h"
#include "app/CommandTable.h"
#include "app/EditorSurfaceFormat.h"

namespace {

namespace cmd = zandrel::document::cmd;

// The editor's toolbar strip: 19 images of 16 x 15 pixels in button order.
constexpr int kIconWidth = 16;
constexpr int kIconHeight = 15;
constexpr int kRecentEntries = 4;

GLuint LoadTexture(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return 0;
    }
    const QByteArray bytes = file.readAll();
    ilInit();
    if (!ilLoadL(IL_JPG, bytes.constData(), static_cast<ILuint>(bytes.size())) ||
        !ilConvertImage(IL_RGB, IL_UNSIGNED_BYTE)) {
        return 0;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, ilGetInteger(IL_IMAGE_WIDTH),
                      ilGetInteger(IL_IMAGE_HEIGHT), GL_RGB, GL_UNSIGNED_BYTE, ilGetData());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    return name;
}

class QuadWindow : public QWindow {
public:
    QuadWindow() { setSurfaceType(QSurface::OpenGLSurface); }

protected:
    void exposeEvent(QExposeEvent*) override {
        if (!isExposed()) {
            return;
        }
        if (context_ == nullptr) {
            context_ = std::make_unique<QOpenGLContext>();
            context_->setFormat(requestedFormat());
            if (!context_->create()) {
                std::_Exit(1);
            }
        }
        context_->makeCurrent(this);
        const GLuint texture = LoadTexture("tile.jpg");
        if (texture == 0) {
            std::fprintf(stderr, "bare_gl_startup: tile.jpg not loaded (run in assets/)\n");
        }
        const qreal ratio = devicePixelRatio();
        glViewport(0, 0, static_cast<GLsizei>(width() * ratio),
                   static_cast<GLsizei>(height() * ratio));
        zandrel::bench::DrawTexturedQuad(texture, 0.8f);
        context_->swapBuffers(this);
        // As the editor does under ZANDREL_QUIT_AFTER_FIRST_FRAME: shutdown is not start-up.
        glFinish();
        std::fflush(nullptr);
        std::_Exit(0);
    }

private:
    std::unique_ptr<QOpenGLContext> context_;
};

void AddMenus(QMainWindow& window) {
    for (const zandrel::app::MenuDefinition& definition : zandrel::app::CommandTable::MapMenus()) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromUtf8(definition.title));
        for (const zandrel::app::MenuItem& item : definition.items) {
            if (item.id == cmd::kSeparator) {
                menu->addSeparator();
            } else if (item.id == cmd::kFileMru1) {
                for (int k = 0; k < kRecentEntries; ++k) {
                    menu->addAction(QString::fromUtf8(item.caption))->setVisible(k == 0);
                }
            } else {
                menu->addAction(QString::fromUtf8(item.caption));
            }
        }
    }
}

void AddToolBar(QMainWindow& window) {
    const QImage strip = QImage(QStringLiteral(":/images/toolbar.png"));
    QToolBar* bar = window.addToolBar(QStringLiteral("Barra degli strumenti"));
    bar->setIconSize(QSize(kIconWidth, kIconHeight));
    int image = 0;
    for (const int id : zandrel::app::CommandTable::ToolbarLayout()) {
        if (id == cmd::kSeparator) {
            bar->addSeparator();
        } else {
            const QImage icon = strip.copy(image++ * kIconWidth, 0, kIconWidth, kIconHeight);
            bar->addAction(QIcon(QPixmap::fromImage(icon)), QString());
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    zandrel::app::UseEditorSurfaceFormat();
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("zandrelEditor"));
    AddMenus(window);
    AddToolBar(window);
    window.statusBar()->showMessage(QStringLiteral("Pronto"));
    window.setCentralWidget(QWidget::createWindowContainer(new QuadWindow, &window));
    window.resize(1024, 768);
    window.show();
    return QApplication::exec();
}
