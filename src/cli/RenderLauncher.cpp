#include "cli/RenderCommand.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace zandrel::cli {

namespace {

// The renderer needs the OpenGL, EGL, DevIL and GLUT libraries, whose loading and start-up cost
// several times what reading a map does. zdmtool itself links none of them: render runs as a
// program of its own, found beside zdmtool (the build tree) or in the installed helper folder.
constexpr const char* kHelperName = "zdmtool-render";
constexpr const char* kInstalledHelperFolder = ZANDREL_RENDER_HELPER_FOLDER;

std::vector<std::filesystem::path> HelperCandidates() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    const std::filesystem::path folder = self.parent_path();
    return {folder / kHelperName, folder / kInstalledHelperFolder / kHelperName};
}

}  // namespace

// Replaces this process with the helper, so its output, exit status and signals are the verb's
// own; it returns only when no helper could be started.
int RunRenderCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> words;
    words.reserve(args.size() + 1);
    words.emplace_back(kHelperName);
    for (const std::string_view arg : args) {
        words.emplace_back(arg);
    }
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    out.flush();
    err.flush();
    int lastError = ENOENT;
    for (const std::filesystem::path& helper : HelperCandidates()) {
        ::execv(helper.c_str(), argv.data());
        if (errno != ENOENT) {
            lastError = errno;
        }
    }
    err << "zdmtool: no OpenGL: cannot start the renderer " << kHelperName << ": "
        << std::strerror(lastError) << '\n';
    return 1;
}

}  // namespace zandrel::cli
