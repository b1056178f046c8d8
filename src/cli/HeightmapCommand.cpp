#include "cli/HeightmapCommand.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "heightimage/HeightRangeText.h"
#include "heightimage/HeightmapFile.h"
#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapWriter.h"
#include "tools/Heightmap.h"

namespace zandrel::cli {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int Usage(std::ostream& err, const std::string& problem) {
    err << "zdmtool: " << problem << "\nUsage: zdmtool " << kHeightmapSynopsis << '\n';
    return kUsage;
}

// The map is read with the parser's messages on standard error, as the other verbs do.
bool LoadMap(map::MapGrid& grid, const std::string& path, std::ostream& err) {
    if (const Status loaded = mapfile::LoadMapFile(grid, path, {stderr, nullptr}); !loaded) {
        err << path << ": " << loaded.message() << '\n';
        return false;
    }
    return true;
}

int Export(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2) {
        return Usage(err, args.size() < 2 ? "export needs MAP and OUT.png" : "too many arguments");
    }
    const std::string mapPath(args[0]);
    const std::string imagePath(args[1]);
    const auto grid = std::make_unique<map::MapGrid>();
    if (!LoadMap(*grid, mapPath, err)) {
        return kFailed;
    }
    tools::HeightRange range;
    if (const Status written = heightimage::ExportHeightmap(*grid, imagePath, range); !written) {
        err << imagePath << ": " << written.message() << '\n';
        return kFailed;
    }
    out << "height range: " << heightimage::FormatHeightRange(range) << '\n';
    return kOk;
}

int Import(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> files;
    std::optional<double> min;
    std::optional<double> max;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg != "--min" && arg != "--max") {
            if (arg.size() > 1 && arg.front() == '-') {
                return Usage(err, "unknown option '" + std::string(arg) + "'");
            }
            files.emplace_back(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            return Usage(err, std::string(arg) + " needs a height");
        }
        const std::optional<double> value = heightimage::ParseHeight(args[++i]);
        if (!value) {
            return Usage(
                err, std::string(arg) + " '" + std::string(args[i]) + "' is not a finite number");
        }
        (arg == "--min" ? min : max) = value;
    }
    if (files.size() != 3) {
        return Usage(
            err, files.size() < 3 ? "import needs MAP, IN.png and OUT.zdm" : "too many arguments");
    }
    if (min.has_value() != max.has_value()) {
        return Usage(err, "--min and --max go together");
    }
    const auto grid = std::make_unique<map::MapGrid>();
    if (!LoadMap(*grid, files[0], err)) {
        return kFailed;
    }
    std::optional<tools::HeightRange> range;
    if (min) {
        range = tools::HeightRange{*min, *max};
    }
    tools::HeightField field;
    tools::HeightRange used;
    if (const Status read = heightimage::LoadHeightmap(files[1], range, field, used); !read) {
        err << files[1] << ": " << read.message() << '\n';
        return kFailed;
    }
    tools::ApplyHeightField(*grid, field);
    if (const Status saved = mapfile::SaveMapFile(*grid, files[2]); !saved) {
        err << files[2] << ": " << saved.message() << '\n';
        return kFailed;
    }
    out << "height range: " << heightimage::FormatHeightRange(used) << '\n';
    return kOk;
}

}  // namespace

int RunHeightmapCommand(std::span<const std::string_view> args, std::ostream& out,
                        std::ostream& err) {
    if (args.empty()) {
        return Usage(err, "heightmap needs export or import");
    }
    if (args.front() == "export") {
        return Export(args.subspan(1), out, err);
    }
    if (args.front() == "import") {
        return Import(args.subspan(1), out, err);
    }
    return Usage(
        err, "unknown heightmap action '" + std::string(args.front()) + "'; use export or import");
}

}  // namespace zandrel::cli
