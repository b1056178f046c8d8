#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace zandrel::cli {

// What a user needs to write one line of an editing script. The rows are the one source of
// the script language's documentation: `zdmtool script --help` prints them and the manual page
// is generated from them, so a command added to ScriptSession gets its row here too (a test
// checks that every row's usage is the one the session reports).
struct ScriptCommandDoc {
    std::string_view name;
    std::string_view usage;         // name and arguments, as ScriptSession's usage message
    std::string_view effect;        // what the command does, one or two sentences
    std::string_view editorAction;  // the menu item, button or mouse action it matches
};

std::span<const ScriptCommandDoc> ScriptCommandDocs();

// A short script using most commands, for the help text and the manual page.
std::string_view ScriptExample();

// Plain text for a terminal: the line syntax, every command, the example.
void WriteScriptHelp(std::ostream& out);

// The same content as roff (man(7) macros), for the manual page.
void WriteScriptManSection(std::ostream& out);

}  // namespace zandrel::cli
