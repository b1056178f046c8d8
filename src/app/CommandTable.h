#pragma once

#include <vector>

#include "document/CommandIds.h"

namespace zandrel::app {

namespace cmd = document::cmd;

// Who answers a command when it is routed: the active map window's views, the document, or the
// application and its frames. A command nobody answers is disabled.
enum class CommandOwner { View, Application, Nobody };

// One command: its number, the status-bar prompt and tooltip ("prompt\ntooltip"; nullptr for a
// command without a string) and who handles it.
struct CommandInfo {
    int id;
    const char* prompt;
    CommandOwner owner;
};

// One menu entry; id cmd::kSeparator with a null caption is a separator.
struct MenuItem {
    const char* caption;
    int id;
};

struct MenuDefinition {
    const char* title;
    std::vector<MenuItem> items;
};

// A key of the accelerator table, in QKeySequence's portable text, and the command it sends.
struct Accelerator {
    const char* key;
    int id;
};

// The one table every menu, key and toolbar button of the editor is built from.
class CommandTable {
public:
    static const std::vector<CommandInfo>& Commands();
    // nullptr for an id that is not in the table.
    static const CommandInfo* Find(int id);

    // The menu bar while no map is open, and while one is.
    static const std::vector<MenuDefinition>& NoMapMenus();
    static const std::vector<MenuDefinition>& MapMenus();

    static const std::vector<Accelerator>& Accelerators();

    // Toolbar buttons left to right; cmd::kSeparator marks a separator.
    static const std::vector<int>& ToolbarLayout();
};

}  // namespace zandrel::app
