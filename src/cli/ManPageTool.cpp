// Build step: fills the zdmtool manual page template with the version and the script
// language section, so the page lists the same commands as `zdmtool script --help`.
// Usage: zdmtool_manpage TEMPLATE OUT VERSION
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/ScriptReference.h"

namespace {

constexpr std::string_view kScriptMarker = "@SCRIPT_LANGUAGE@";
constexpr std::string_view kVersionMarker = "@VERSION@";

std::string Filled(std::istream& in, std::string_view version) {
    std::ostringstream page;
    std::string line;
    while (std::getline(in, line)) {
        if (line == kScriptMarker) {
            zandrel::cli::WriteScriptManSection(page);
            continue;
        }
        for (auto at = line.find(kVersionMarker); at != std::string::npos;
             at = line.find(kVersionMarker, at + version.size())) {
            line.replace(at, kVersionMarker.size(), version);
        }
        page << line << '\n';
    }
    return page.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: zdmtool_manpage TEMPLATE OUT VERSION\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << argv[1] << ": cannot be opened\n";
        return 1;
    }
    const std::string page = Filled(in, argv[3]);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << page;
    out.close();
    if (!out) {
        std::cerr << argv[2] << ": cannot be written\n";
        return 1;
    }
    return 0;
}
