#include "app/InfoOptions.h"

#include <string_view>

#ifndef ZANDREL_VERSION
#define ZANDREL_VERSION "unknown"
#endif

namespace zandrel::app {

namespace {

constexpr std::string_view kHelp =
    "Usage: zandrelEditor [FILE.zdm]\n"
    "       zandrelEditor --help | --version\n"
    "\n"
    "3D level editor for .zdm maps. Without FILE it opens a new map, with FILE that map.\n"
    "Texture names resolve against the working directory: start it in the folder that holds\n"
    "the map's textures (demo textures: /usr/share/zandrelEditor/assets).\n"
    "\n"
    "  -h, --help     print this help and exit\n"
    "  -v, --version  print the version and exit\n"
    "\n"
    "Qt's own options (-platform, -style, ...) are accepted too. Needs an X display; without\n"
    "one: xvfb-run -a zandrelEditor. See also zandrelEditor(1) and zdmtool(1).\n";

}  // namespace

std::optional<int> AnswerInfoOption(std::span<char* const> arguments, std::ostream& out) {
    for (const char* argument : arguments.subspan(arguments.empty() ? 0 : 1)) {
        if (argument == nullptr) {
            break;
        }
        const std::string_view word(argument);
        if (word == "--") {
            break;
        }
        if (word == "--help" || word == "-h") {
            out << kHelp;
            return 0;
        }
        if (word == "--version" || word == "-v") {
            out << "zandrelEditor " << ZANDREL_VERSION << '\n';
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace zandrel::app
