#pragma once

#include <QObject>
#include <array>

class QLabel;
class QStatusBar;

namespace zandrel::app {

// The status bar's three indicator panes, "MAIUSC", "NUM" and "SCORR": each shows its text while
// its lock key is on and stays blank (keeping its width) while it is off.
class LockKeyIndicators : public QObject {
    Q_OBJECT

public:
    explicit LockKeyIndicators(QStatusBar* statusBar);

    // Reads the lock keys from the X server and updates the panes.
    void Refresh();
    // Shows the given states; Refresh uses this with what the keyboard says.
    void Show(bool caps, bool num, bool scroll);

private:
    std::array<QLabel*, 3> panes_{};
    // The X atoms naming the three indicators (X's Atom type).
    std::array<unsigned long, 3> atoms_{};
    bool atomsKnown_ = false;
};

}  // namespace zandrel::app
