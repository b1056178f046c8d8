#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

#include "app/CommandTable.h"
#include "document/CommandTarget.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

namespace zandrel::app {

// Turns the command table into QActions, menus, the toolbar and the keys, sends every command
// along the route of targets, and applies the update rules to every action: when a menu opens
// and whenever the event loop is about to wait, so toolbar buttons follow the model.
class CommandDispatcher : public QObject {
    Q_OBJECT

public:
    using Route = std::function<std::vector<document::CommandTarget*>()>;

    // route gives the targets in the order a command visits them.
    CommandDispatcher(QMainWindow* window, Route route);

    QAction* Action(int id) const;

    std::vector<QMenu*> BuildMenus(const std::vector<MenuDefinition>& definitions);
    QToolBar* BuildToolBar();
    void InstallAccelerators();
    // True when key is one of the accelerator table's keys.
    bool IsAccelerator(const QKeyCombination& key) const;

    // Recent files shown in the menus, newest first; entries beyond the recent-file ids are
    // ignored.
    void SetRecentFiles(const QStringList& files);

    // State of id as the route decides it; disabled when no target answers.
    document::CommandState Query(int id) const;
    // Runs id when it is enabled; false when it was disabled or nobody handled it.
    bool Execute(int id);
    // Applies the update rules to every action.
    void UpdateAll();

protected:
    // Swallows tooltips of toolbar buttons whose command has no string.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* MakeAction(int id, const QString& caption);
    void ApplyState(int id, QAction* action) const;

    QMainWindow* window_;
    Route route_;
    std::map<int, QAction*> actions_;
    QStringList recentFiles_;
};

}  // namespace zandrel::app
