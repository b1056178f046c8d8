#include "cli/ZdmTool.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <vector>

#include "cli/CheckReport.h"
#include "cli/HeightmapCommand.h"
#include "cli/MapJson.h"
#include "cli/MapSummary.h"
#include "cli/RenderCommand.h"
#include "cli/ResizeCommand.h"
#include "cli/ScriptReference.h"
#include "cli/ScriptRunner.h"
#include "map/MapGrid.h"
#include "mapfile/MapLoader.h"
#include "mapfile/MapParser.h"
#include "mapfile/MapWriter.h"
#include "tools/MapCheck.h"

#ifndef ZANDREL_VERSION
#define ZANDREL_VERSION "unknown"
#endif

namespace zandrel::cli {

namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

struct Verb {
    std::string_view name;
    std::string_view synopsis;
    std::string_view description;
    // The options the verb takes, each followed by a space.
    std::string_view options = {};
};

constexpr Verb kVerbs[] = {
    {"new", "new OUT", "Write a new 50x50 map with the default textures and attributes to OUT."},
    {"check", "check [--strict] [--json] FILE...",
     "Read and load each map; print nothing for a good one, the reason for a bad one.\n"
     "Exit status 1 when any file cannot be loaded.\n\n"
     "--strict also checks what the game needs and prints one line per finding:\n"
     "  FILE: SEVERITY: CODE: MESSAGE (X, Z)\n"
     "with the cell when the finding is about one (at most 20 cells per code, then a count).\n"
     "Texture files are looked for in the map's folder and the working folder.\n"
     "Exit status 1 also when a finding is an error; warnings alone leave it 0.\n"
     "--json implies --strict and prints one JSON array instead: per file\n"
     "{\"file\", \"loaded\", \"reason\" (when not loaded), \"findings\": [{\"code\",\n"
     "\"severity\", \"cell\": {\"x\", \"z\"} or null, \"message\"}]}.",
     "--strict --json "},
    {"info", "info FILE",
     "Print a short summary of a map: size, textures, start, enemies,\n"
     "height range and goal cells."},
    {"parse", "parse FILE", "Print the parsed element tree of FILE as one JSON object."},
    {"script", "script FILE", "Run an editing script: one editor command per line."},
    {"heightmap", kHeightmapSynopsis, kHeightmapDescription},
    {"render", kRenderSynopsis, kRenderDescription},
    {"resize", kResizeSynopsis, kResizeDescription},
};

const Verb* FindVerb(std::string_view name) {
    for (const Verb& verb : kVerbs) {
        if (verb.name == name) {
            return &verb;
        }
    }
    return nullptr;
}

void PrintToolHelp(std::ostream& out) {
    out << "Usage: zdmtool VERB [ARGS...]\n"
           "       zdmtool --help | --version\n\n"
           "Reads, checks and writes zandrelEditor map files (.zdm).\n\nVerbs:\n";
    for (const Verb& verb : kVerbs) {
        out << "  " << verb.synopsis << '\n';
    }
    out << "\nzdmtool VERB --help describes one verb.\n";
}

bool TakesOption(const Verb& verb, std::string_view arg) {
    return verb.options.find(std::string(arg) + ' ') != std::string_view::npos;
}

void PrintCheckCodes(std::ostream& out) {
    out << "\nCodes of --strict:\n";
    for (const tools::MapCheckRule& rule : tools::MapCheckRules()) {
        out << "  " << rule.name << " (" << tools::SeverityName(rule.severity) << ")\n";
    }
}

bool IsHelp(std::string_view arg) {
    return arg == "--help" || arg == "-h";
}

// The reader's own messages go to standard error; stray characters are dropped so that
// standard output only carries what a verb prints.
mapfile::ParseOptions QuietParse() {
    return mapfile::ParseOptions{stderr, nullptr};
}

}  // namespace

int ZdmTool::Run(std::span<const std::string_view> args) {
    if (args.empty()) {
        return UsageError("missing verb", {});
    }
    const std::string_view first = args.front();
    if (IsHelp(first)) {
        PrintToolHelp(out_);
        return kOk;
    }
    if (first == "--version") {
        out_ << "zdmtool " << ZANDREL_VERSION << '\n';
        return kOk;
    }
    const Verb* verb = FindVerb(first);
    if (verb == nullptr) {
        return UsageError("unknown verb '" + std::string(first) + "'", {});
    }
    const auto rest = args.subspan(1);
    if (!rest.empty() && IsHelp(rest.front())) {
        out_ << "Usage: zdmtool " << verb->synopsis << "\n\n" << verb->description << '\n';
        if (verb->name == "check") {
            PrintCheckCodes(out_);
        } else if (verb->name == "script") {
            out_ << '\n';
            WriteScriptHelp(out_);
        }
        return kOk;
    }
    if (!rest.empty() && rest.front() == "--version") {
        out_ << "zdmtool " << ZANDREL_VERSION << '\n';
        return kOk;
    }
    // Takes options with values, negative heights among them, so it reads its own arguments.
    if (verb->name == "heightmap") {
        return RunHeightmapCommand(rest, out_, err_);
    }
    if (verb->name == "render") {
        return RunRenderCommand(rest, out_, err_);
    }
    if (verb->name == "resize") {
        return RunResizeCommand(rest, err_);
    }
    for (const std::string_view arg : rest) {
        if (arg.size() > 1 && arg.front() == '-' && !TakesOption(*verb, arg)) {
            return UsageError("unknown option '" + std::string(arg) + "'", verb->name);
        }
    }
    if (verb->name == "new")
        return New(rest);
    if (verb->name == "check")
        return Check(rest);
    if (verb->name == "info")
        return Info(rest);
    if (verb->name == "parse")
        return Parse(rest);
    return Script(rest);
}

int ZdmTool::UsageError(const std::string& problem, std::string_view verb) {
    err_ << "zdmtool: " << problem << '\n';
    if (const Verb* known = FindVerb(verb)) {
        err_ << "Usage: zdmtool " << known->synopsis << '\n';
    } else {
        err_ << "Usage: zdmtool VERB [ARGS...]; verbs:";
        for (const Verb& each : kVerbs) {
            err_ << ' ' << each.name;
        }
        err_ << "\nTry 'zdmtool --help'.\n";
    }
    return kUsage;
}

int ZdmTool::New(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        return UsageError(args.empty() ? "missing OUT" : "too many arguments", "new");
    }
    const std::string path(args[0]);
    const auto grid = std::make_unique<map::MapGrid>(map::kMaxMapSize, map::kMaxMapSize);
    if (const Status saved = mapfile::SaveMapFile(*grid, path); !saved) {
        err_ << path << ": " << saved.message() << '\n';
        return kFailed;
    }
    return kOk;
}

int ZdmTool::Check(std::span<const std::string_view> args) {
    const bool json = std::ranges::find(args, "--json") != args.end();
    const bool strict = json || std::ranges::find(args, "--strict") != args.end();
    std::vector<std::string_view> files;
    std::ranges::copy_if(args, std::back_inserter(files),
                         [](std::string_view arg) { return arg != "--json" && arg != "--strict"; });
    if (files.empty()) {
        return UsageError("missing FILE", "check");
    }
    int status = kOk;
    CheckReport report(out_, json ? CheckReport::Format::Json : CheckReport::Format::Text);
    const auto grid = std::make_unique<map::MapGrid>();
    for (const std::string_view file : files) {
        const std::string path(file);
        if (const Status loaded = mapfile::LoadMapFile(*grid, path, QuietParse()); !loaded) {
            err_ << path << ": " << loaded.message() << '\n';
            report.AddUnreadable(file, loaded.message());
            status = kFailed;
            continue;
        }
        if (strict) {
            std::filesystem::path folder = std::filesystem::path(path).parent_path();
            if (folder.empty()) {
                folder = ".";
            }
            const std::vector<tools::MapFinding> findings =
                tools::CheckMap(*grid, tools::TextureFilesIn({folder, "."}));
            report.AddChecked(file, findings);
            status = tools::HasErrors(findings) ? kFailed : status;
        }
    }
    report.Finish();
    return status;
}

int ZdmTool::Info(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        return UsageError(args.empty() ? "missing FILE" : "too many arguments", "info");
    }
    const std::string path(args[0]);
    const auto grid = std::make_unique<map::MapGrid>();
    if (const Status loaded = mapfile::LoadMapFile(*grid, path, QuietParse()); !loaded) {
        err_ << path << ": " << loaded.message() << '\n';
        return kFailed;
    }
    WriteMapSummary(out_, *grid);
    return kOk;
}

int ZdmTool::Parse(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        return UsageError(args.empty() ? "missing FILE" : "too many arguments", "parse");
    }
    const std::string path(args[0]);
    const mapfile::ParseResult parsed = mapfile::ParseMapFile(path, QuietParse());
    if (!parsed.ok()) {
        if (parsed.status == mapfile::ParseStatus::CannotOpen) {
            err_ << path << ": cannot be opened\n";
        } else if (parsed.status == mapfile::ParseStatus::NameMismatch) {
            err_ << path << ": a closing tag does not match its element\n";
        }
        return kFailed;
    }
    WriteElementJson(out_, *parsed.root);
    out_ << '\n';
    return kOk;
}

int ZdmTool::Script(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        return UsageError(args.empty() ? "missing FILE" : "too many arguments", "script");
    }
    return RunScriptFile(std::string(args[0]), out_, err_);
}

}  // namespace zandrel::cli
