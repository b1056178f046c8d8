#include "app/WindowMenu.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace zandrel::app {

WindowMenu::WindowMenu(QMenu* menu, Hooks hooks)
    : QObject(menu), menu_(menu), hooks_(std::move(hooks)) {
    connect(menu_, &QMenu::aboutToShow, this, &WindowMenu::Rebuild);
}

QString WindowMenu::EntryText(int index, const QString& title) {
    // A title's own ampersands are shown, not taken for a mnemonic.
    QString shown = title;
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}

void WindowMenu::Rebuild() {
    for (QAction* entry : entries_) {
        menu_->removeAction(entry);
        entry->deleteLater();
    }
    entries_.clear();
    if (separator_ != nullptr) {
        menu_->removeAction(separator_);
        separator_->deleteLater();
        separator_ = nullptr;
    }
    const std::vector<QMdiSubWindow*> windows = hooks_.windows();
    if (windows.empty()) {
        return;
    }
    separator_ = menu_->addSeparator();
    const QMdiSubWindow* active = hooks_.active();
    for (std::size_t k = 0; k < windows.size() && k < kListed; ++k) {
        QAction* entry =
            menu_->addAction(EntryText(static_cast<int>(k), windows[k]->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(windows[k] == active);
        const QPointer<QMdiSubWindow> window(windows[k]);
        connect(entry, &QAction::triggered, this, [this, window] {
            if (!window.isNull()) {
                hooks_.activate(window);
            }
        });
        entries_.push_back(entry);
    }
    if (windows.size() > kListed) {
        QAction* more = menu_->addAction(QStringLiteral("&Altre finestre..."));
        connect(more, &QAction::triggered, this, &WindowMenu::ChooseAmongAll);
        entries_.push_back(more);
    }
}

void WindowMenu::ChooseAmongAll() {
    const std::vector<QMdiSubWindow*> windows = hooks_.windows();
    QStringList titles;
    for (const QMdiSubWindow* window : windows) {
        titles.append(window->windowTitle());
    }
    const int chosen = hooks_.choose(titles);
    if (chosen >= 0 && chosen < static_cast<int>(windows.size())) {
        hooks_.activate(windows[static_cast<std::size_t>(chosen)]);
    }
}

}  // namespace zandrel::app
