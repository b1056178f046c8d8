#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QMdiSubWindow;
class QMenu;

namespace zandrel::app {

// The open map windows at the end of the "Fi&nestra" menu: "&1 title" to "&9 title", the active
// one checked, then "&Altre finestre..." for the rest. The entries are rebuilt each time the
// menu opens, and choosing one activates its window.
class WindowMenu : public QObject {
    Q_OBJECT

public:
    static constexpr int kListed = 9;

    struct Hooks {
        // The map windows in creation order.
        std::function<std::vector<QMdiSubWindow*>()> windows;
        std::function<QMdiSubWindow*()> active;
        std::function<void(QMdiSubWindow*)> activate;
        // Index into titles of the window the user picks from all of them, or -1.
        std::function<int(const QStringList& titles)> choose;
    };

    WindowMenu(QMenu* menu, Hooks hooks);

    // Replaces the window entries with the current windows.
    void Rebuild();
    // The entries now in the menu (the separator before them left out).
    const std::vector<QAction*>& Entries() const { return entries_; }

    static QString EntryText(int index, const QString& title);

private:
    void ChooseAmongAll();

    QMenu* menu_;
    Hooks hooks_;
    QAction* separator_ = nullptr;
    std::vector<QAction*> entries_;
};

}  // namespace zandrel::app
