#include "app/CommandDispatcher.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QShortcut>
#include <QToolBar>
#include <algorithm>

#include "app/ToolbarImages.h"
#include "document/CommandIds.h"

namespace zandrel::app {

namespace cmd = document::cmd;

namespace {
constexpr int kRecentCount = 4;

QString StatusPart(const char* prompt) {
    return prompt == nullptr ? QString()
                             : QString::fromUtf8(prompt).section(QLatin1Char('\n'), 0, 0);
}

QString TooltipPart(const char* prompt) {
    return prompt == nullptr ? QString() : QString::fromUtf8(prompt).section(QLatin1Char('\n'), 1);
}

bool IsRecentId(int id) {
    return id >= cmd::kFileMru1 && id < cmd::kFileMru1 + kRecentCount;
}
}  // namespace

CommandDispatcher::CommandDispatcher(QMainWindow* window, Route route)
    : QObject(window), window_(window), route_(std::move(route)) {
    for (const CommandInfo& info : CommandTable::Commands()) {
        MakeAction(info.id, QString());
    }
    for (const auto& definitions : {CommandTable::NoMapMenus(), CommandTable::MapMenus()}) {
        for (const MenuDefinition& menu : definitions) {
            for (const MenuItem& item : menu.items) {
                if (item.id != cmd::kSeparator) {
                    actions_.at(item.id)->setText(QString::fromUtf8(item.caption));
                }
            }
        }
    }
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &CommandDispatcher::UpdateAll);
    }
}

QAction* CommandDispatcher::MakeAction(int id, const QString& caption) {
    auto* action = new QAction(caption, window_);
    action->setObjectName(QStringLiteral("command%1").arg(id));
    action->setData(id);
    // Menus show plain check marks; a toolbar image beside a checked item reads as a frame.
    action->setIconVisibleInMenu(false);
    const CommandInfo* info = CommandTable::Find(id);
    const char* prompt = info != nullptr ? info->prompt : nullptr;
    action->setStatusTip(StatusPart(prompt));
    action->setToolTip(TooltipPart(prompt));
    // Without a string a button shows no tooltip at all, not its caption.
    action->setProperty("hasTooltip", !TooltipPart(prompt).isEmpty());
    connect(action, &QAction::triggered, this, [this, id] { Execute(id); });
    actions_[id] = action;
    return action;
}

QAction* CommandDispatcher::Action(int id) const {
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

std::vector<QMenu*> CommandDispatcher::BuildMenus(const std::vector<MenuDefinition>& definitions) {
    std::vector<QMenu*> menus;
    for (const MenuDefinition& definition : definitions) {
        auto* menu = new QMenu(QString::fromUtf8(definition.title), window_);
        menu->setToolTipsVisible(false);
        for (const MenuItem& item : definition.items) {
            if (item.id == cmd::kSeparator) {
                menu->addSeparator();
            } else if (item.id == cmd::kFileMru1) {
                for (int k = 0; k < kRecentCount; ++k) {
                    menu->addAction(actions_.at(cmd::kFileMru1 + k));
                }
            } else {
                menu->addAction(actions_.at(item.id));
            }
        }
        connect(menu, &QMenu::aboutToShow, this, &CommandDispatcher::UpdateAll);
        menus.push_back(menu);
    }
    return menus;
}

QToolBar* CommandDispatcher::BuildToolBar() {
    auto* toolBar = new QToolBar(window_);
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->setIconSize(QSize(ToolbarImages::kWidth, ToolbarImages::kHeight));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const std::vector<QIcon> images = ToolbarImages::Buttons();
    std::size_t image = 0;
    for (const int id : CommandTable::ToolbarLayout()) {
        if (id == cmd::kSeparator) {
            toolBar->addSeparator();
            continue;
        }
        QAction* action = actions_.at(id);
        action->setIcon(image < images.size() ? images[image] : QIcon());
        ++image;
        toolBar->addAction(action);
        if (!action->property("hasTooltip").toBool()) {
            // A button's tooltip falls back to the action's caption; a command without a
            // string shows none.
            if (QWidget* button = toolBar->widgetForAction(action)) {
                button->installEventFilter(this);
            }
        }
    }
    return toolBar;
}

bool CommandDispatcher::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void CommandDispatcher::InstallAccelerators() {
    for (const Accelerator& key : CommandTable::Accelerators()) {
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(key.key)), window_);
        shortcut->setObjectName(QStringLiteral("key%1").arg(QString::fromLatin1(key.key)));
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setProperty("command", key.id);
        const int id = key.id;
        connect(shortcut, &QShortcut::activated, this, [this, id] { Execute(id); });
    }
}

bool CommandDispatcher::IsAccelerator(const QKeyCombination& key) const {
    const QKeySequence pressed(key);
    return std::any_of(CommandTable::Accelerators().begin(), CommandTable::Accelerators().end(),
                       [&pressed](const Accelerator& entry) {
                           return QKeySequence(QString::fromLatin1(entry.key)) == pressed;
                       });
}

void CommandDispatcher::SetRecentFiles(const QStringList& files) {
    recentFiles_ = files.mid(0, kRecentCount);
    UpdateAll();
}

document::CommandState CommandDispatcher::Query(int id) const {
    document::CommandState state;
    for (document::CommandTarget* target : route_()) {
        if (target != nullptr && target->UpdateCommand(id, state)) {
            return state;
        }
    }
    return document::CommandState{false, false};
}

bool CommandDispatcher::Execute(int id) {
    if (!Query(id).enabled) {
        return false;
    }
    for (document::CommandTarget* target : route_()) {
        if (target != nullptr && target->ExecuteCommand(id)) {
            return true;
        }
    }
    return false;
}

void CommandDispatcher::ApplyState(int id, QAction* action) const {
    if (IsRecentId(id)) {
        const int index = id - cmd::kFileMru1;
        const bool present = index < recentFiles_.size();
        if (present) {
            // An ampersand in a path is text, not a mnemonic.
            QString shown = QDir::toNativeSeparators(recentFiles_.at(index));
            shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
            action->setText(QStringLiteral("&%1 %2").arg(index + 1).arg(shown));
        } else if (index == 0) {
            action->setText(QStringLiteral("File recenti"));
        }
        // The first entry stays as a grayed placeholder while the list is empty.
        action->setVisible(present || index == 0);
    }
    const document::CommandState state = Query(id);
    action->setEnabled(state.enabled);
    action->setCheckable(state.checked);
    action->setChecked(state.checked);
}

void CommandDispatcher::UpdateAll() {
    for (const auto& [id, action] : actions_) {
        ApplyState(id, action);
    }
}

}  // namespace zandrel::app
