#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>
#include <memory>

#include "app/EditorSurfaceFormat.h"
#include "app/OpenGLProbe.h"

// After Qt: Xlib defines macros (None, Bool, Status) that Qt's headers use as names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// The top-level window of another client titled title and shown, or 0. Xvfb runs no window
// manager, so top-level windows are the root's children.
Window FindShownWindow(Display* display, const char* title) {
    Window root = 0;
    Window* children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &root, &children, &count);
    Window found = 0;
    for (unsigned i = 0; i < count; ++i) {
        char* name = nullptr;
        XWindowAttributes attributes{};
        if (XFetchName(display, children[i], &name) != 0 && qstrcmp(name, title) == 0 &&
            XGetWindowAttributes(display, children[i], &attributes) != 0 &&
            attributes.map_state == IsViewable) {
            found = children[i];
        }
        XFree(name);
    }
    XFree(children);
    return found;
}

// What a user's click on the title bar's close button sends.
void AskToClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

}  // namespace

// Runs with Qt's GL integration switched off, as on a machine without usable OpenGL.
class StartupTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        qputenv("QT_XCB_GL_INTEGRATION", "none");
        zandrel::app::UseEditorSurfaceFormat();
    }

private slots:
    // The probe names the missing context; the built editor shows why and exits, uncrashed.
    void editorShowsTheFailureAndExitsCleanly() {
        QCOMPARE(zandrel::app::OpenGLProbe::FailureMessage(),
                 QStringLiteral("OpenGL contest fail"));
        const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr),
                                                                  &XCloseDisplay);
        QVERIFY(display != nullptr);
        QProcess editor;
        editor.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        editor.start(QStringLiteral(ZANDREL_EDITOR_PATH), {});
        QVERIFY(editor.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        Window box = 0;
        while (box == 0 && editor.state() == QProcess::Running && waited.elapsed() < 60000) {
            QTest::qWait(100);
            box = FindShownWindow(display.get(), "zandrelEditor");
        }
        QVERIFY2(box != 0, "no message box appeared");
        AskToClose(display.get(), box);
        QVERIFY(editor.waitForFinished(30000));
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);  // no crash signal
        QCOMPARE(editor.exitCode(), 1);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
