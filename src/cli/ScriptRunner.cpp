#include "cli/ScriptRunner.h"

#include <cerrno>
#include <fstream>
#include <memory>
#include <string>
#include <system_error>

#include "cli/ScriptCommand.h"
#include "cli/ScriptSession.h"

namespace zandrel::cli {

int RunScriptFile(const std::filesystem::path& file, std::ostream& out, std::ostream& err) {
    // A folder opens for reading here and then just reads as empty, which would pass for a
    // script that ran.
    std::error_code typeError;
    if (std::filesystem::is_directory(file, typeError)) {
        err << file.string() << ": cannot be opened: is a directory\n";
        return 1;
    }
    std::ifstream script(file, std::ios::binary);
    if (!script) {
        const int code = errno;
        err << file.string() << ": cannot be opened";
        if (code != 0) {
            err << ": " << std::generic_category().message(code);
        }
        err << '\n';
        return 1;
    }
    return RunScript(script, file.string(), out, err);
}

int RunScript(std::istream& script, std::string_view name, std::ostream& out, std::ostream& err) {
    // A session holds three whole maps; they live on the heap, not on the stack.
    const auto session = std::make_unique<ScriptSession>(&out);
    std::string line;
    long lineNumber = 0;
    while (std::getline(script, line)) {
        ++lineNumber;
        const std::optional<ScriptCommand> command = SplitScriptLine(line);
        if (!command) {
            continue;
        }
        if (const Status status = session->Run(*command); !status) {
            err << name << ':' << lineNumber << ": " << status.message() << '\n';
            return 1;
        }
    }
    if (script.bad()) {
        err << name << ':' << lineNumber << ": read error\n";
        return 1;
    }
    return 0;
}

}  // namespace zandrel::cli
