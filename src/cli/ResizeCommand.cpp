#include "cli/ResizeCommand.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/ScriptCommand.h"
#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapWriter.h"
#include "tools/MapResize.h"

namespace zandrel::cli {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage(std::ostream& err, const std::string& problem) {
    err << "zdmtool: " << problem << "\nUsage: zdmtool " << kResizeSynopsis << '\n';
    return kUsage;
}

}  // namespace

int RunResizeCommand(std::span<const std::string_view> args, std::ostream& err) {
    std::vector<std::string_view> words;
    tools::ResizeAnchor anchor = tools::ResizeAnchor::NorthEast;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--anchor") {
            words.push_back(args[i]);
            continue;
        }
        if (i + 1 == args.size()) {
            return Usage(err, "--anchor needs one of ne, n, no, e, c, o, se, s, so");
        }
        const auto named = tools::AnchorNamed(args[++i]);
        if (!named) {
            return Usage(err, "unknown anchor '" + std::string(args[i]) +
                                  "'; use ne, n, no, e, c, o, se, s or so");
        }
        anchor = *named;
    }
    if (words.size() != 4) {
        return Usage(err,
                     words.size() < 4 ? "resize needs MAP, SX, SZ and OUT" : "too many arguments");
    }
    const auto sizeX = ParseWholeNumber(words[1]);
    const auto sizeZ = ParseWholeNumber(words[2]);
    if (!sizeX || !sizeZ) {
        return Usage(err, "'" + std::string(!sizeX ? words[1] : words[2]) +
                              "' is not a whole number of cells");
    }
    if (const Status checked = tools::CheckMapSize(*sizeX, *sizeZ); !checked) {
        return Usage(err, checked.message());
    }
    const std::string mapPath(words[0]);
    const std::string outPath(words[3]);
    const auto grid = std::make_unique<map::MapGrid>();
    if (const Status loaded = mapfile::LoadMapFile(*grid, mapPath, {stderr, nullptr}); !loaded) {
        err << mapPath << ": " << loaded.message() << '\n';
        return kFailed;
    }
    tools::ResizeGrid(*grid, *sizeX, *sizeZ, anchor);
    if (const Status saved = mapfile::SaveMapFile(*grid, outPath); !saved) {
        err << outPath << ": " << saved.message() << '\n';
        return kFailed;
    }
    return kOk;
}

}  // namespace zandrel::cli
