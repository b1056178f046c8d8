#pragma once

#include <QObject>

class QDockWidget;

namespace zandrel::app {

class CMainFrame;
class HistoryWidget;
class OverviewWidget;

// The docks of the main window, "Panoramica" and "Cronologia" in "Vi&sta": hidden at first,
// then shown, hidden, placed and floated as the user left them last (kept in the settings).
// Both show the active map window's map.
class MapDocks : public QObject {
    Q_OBJECT

public:
    explicit MapDocks(CMainFrame& frame);

    QDockWidget* OverviewDock() const { return overviewDock_; }
    QDockWidget* HistoryDock() const { return historyDock_; }
    OverviewWidget* Overview() const { return overview_; }
    HistoryWidget* History() const { return history_; }

    // The check items' commands: shows a hidden dock, hides a shown one.
    static void Toggle(QDockWidget* dock);
    static bool IsShown(const QDockWidget* dock);

    // Both docks to the map window that is active now.
    void FollowActiveWindow();

private:
    QDockWidget* MakeDock(const QString& title, const QString& key, QWidget* content);
    void Restore(QDockWidget* dock) const;
    void Remember(const QDockWidget* dock) const;

    CMainFrame& frame_;
    OverviewWidget* overview_;
    HistoryWidget* history_;
    QDockWidget* overviewDock_;
    QDockWidget* historyDock_;
};

}  // namespace zandrel::app
