// Fuzz target: the input is an editing script, run as `zdmtool script` would in a scratch folder.
// Scripts may open and save any path; here every open and save goes to one file of the scratch
// folder instead, so a run never writes elsewhere and never blocks on a device or a pipe.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>

#include "cli/ScriptCommand.h"
#include "cli/ScriptRunner.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own that the process works in, removed when the process ends; on tmpfs when
// there is one, since saves sync the file.
class ScratchFolder {
public:
    ScratchFolder() {
        std::error_code error;
        const fs::path base =
            fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "zdm-fuzz-script-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr || chdir(pattern.c_str()) != 0) {
            std::perror("scratch folder");
            std::abort();
        }
        path_ = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }

private:
    fs::path path_;
};

// The script with the path of every well-formed open and save replaced by the scratch map.
std::string Confined(std::string_view script) {
    std::string confined;
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        const std::string_view line = script.substr(0, end);
        script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
        const auto command = zandrel::cli::SplitScriptLine(line);
        if (command && command->args.size() == 1 &&
            (command->name == "open" || command->name == "save")) {
            confined.append(command->name).append(" fuzz.zdm\n");
        } else {
            confined.append(line).append("\n");
        }
    }
    return confined;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFolder scratch;
    std::istringstream script(
        Confined(std::string_view(reinterpret_cast<const char*>(data), size)));
    std::ostringstream out;
    std::ostringstream err;
    zandrel::cli::RunScript(script, "fuzz", out, err);
    return 0;
}
