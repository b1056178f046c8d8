#pragma once

#include <filesystem>
#include <istream>
#include <ostream>
#include <string_view>

namespace zandrel::cli {

// Runs an editing script: one editor command per line, in one session (see ScriptSession).
// Stops at the first line that cannot run, reporting "NAME:LINE: reason" on err; whatever that
// line's predecessors saved stays saved. Returns the exit status: 0 when every line ran, 1
// otherwise (the file itself unreadable included). Nothing is written to out.
int RunScriptFile(const std::filesystem::path& file, std::ostream& out, std::ostream& err);

// The same on script text from a stream; name is what error lines start with.
int RunScript(std::istream& script, std::string_view name, std::ostream& out, std::ostream& err);

}  // namespace zandrel::cli
