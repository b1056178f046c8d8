#pragma once

#include <QEventLoop>
#include <QTimer>

namespace zandrel::gui_test {

// Runs a real event loop for a moment so it goes idle and waits, as the editor's own loop
// does. (QTest's waits process events without ever blocking, so idle-time work never runs.)
inline void RunIdleLoop(int milliseconds = 30) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace zandrel::gui_test
