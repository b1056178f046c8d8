#include "cli/ScriptSession.h"

#include <algorithm>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "mapfile/MapLoader.h"
#include "mapfile/MapWriter.h"
#include "tools/EditCommands.h"
#include "tools/EditNames.h"
#include "tools/MapResize.h"
#include "tools/PanelAttributes.h"
#include "tools/TextureArchive.h"
#include "tools/ToolMode.h"

namespace zandrel::cli {

namespace {

using tools::DocumentState;

// Optional arguments after the argCount required ones: a number of them, or any number of
// X Z pairs.
constexpr std::size_t kAnyPairs = static_cast<std::size_t>(-1);

struct CommandEntry {
    std::string_view name;
    std::size_t argCount;
    std::string_view usage;
    Status (ScriptSession::*run)(const ScriptCommand&);
    std::size_t optionalArgs = 0;

    bool Takes(std::size_t count) const {
        if (count < argCount) {
            return false;
        }
        return optionalArgs == kAnyPairs ? (count - argCount) % 2 == 0
                                         : count <= argCount + optionalArgs;
    }
};

struct ToolName {
    std::string_view name;
    std::int32_t mode;
};

constexpr ToolName kToolNames[] = {
    {"level", tools::TOOL_LEVEL},     {"landslide", tools::TOOL_LANDSLIDE},
    {"tilt", tools::TOOL_TILT},       {"flatten", tools::TOOL_FLATTEN},
    {"pyramid", tools::TOOL_PYRAMID}, {"raise", tools::TOOL_RAISE},
};

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '\'';
    quoted += text;
    quoted += '\'';
    return quoted;
}

Status NotWholeNumber(std::string_view text) {
    return Status::Failure(Quoted(text) + " is not a whole number");
}

// What the history calls the edits of the commands that are not tools; the others change no
// content, and a command missing here is named as the script calls it.
struct EditName {
    std::string_view command;
    std::string_view name;
};

constexpr EditName kEditNames[] = {
    {"cut", tools::kCutName},
    {"paste", tools::kPasteName},
    {"merge", tools::kMergeName},
    {"undo", tools::kUndoName},
    {"goal", tools::kGoalName},
    {"start", tools::kStartName},
    {"enemy", tools::kEnemyName},
    {"attributes", tools::kApplyName},
    {"tile", tools::kTileName},
    {"wall", tools::kWallName},
    {"enemy-texture", tools::kEnemyTextureName},
    {"refresh-textures", tools::kRefreshTexturesName},
    {"resize", tools::kMapSizeName},
};

// "x0,z0-x1,z1", one corner for a single cell, "-" when no cell changed.
std::string CellsText(const map::CellRect& cells) {
    if (cells.IsUnset()) {
        return "-";
    }
    std::string text = std::to_string(cells.x0) + ',' + std::to_string(cells.z0);
    if (cells.x1 != cells.x0 || cells.z1 != cells.z0) {
        text += '-' + std::to_string(cells.x1) + ',' + std::to_string(cells.z1);
    }
    return text;
}

std::string LocalTimeText(tools::EditHistory::Clock::time_point time) {
    const std::time_t seconds = tools::EditHistory::Clock::to_time_t(time);
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&seconds, &local) == nullptr ||
        std::strftime(text, sizeof text, "%H:%M:%S", &local) == 0) {
        return "--:--:--";
    }
    return text;
}

}  // namespace

ScriptSession::ScriptSession(std::ostream* out)
    : clipboard_(std::make_unique<map::MapGrid>()),
      before_(std::make_unique<map::MapGrid>()),
      out_(out) {
    auto document = std::make_unique<DocumentState>();
    document->mapGrid = *std::make_unique<map::MapGrid>(map::kMaxMapSize, map::kMaxMapSize);
    ShowDocument(std::move(document));
}

Status ScriptSession::Run(const ScriptCommand& command) {
    static constexpr CommandEntry kCommands[] = {
        {"new", 0, "new", &ScriptSession::New},
        {"open", 1, "open PATH", &ScriptSession::Open},
        {"save", 1, "save PATH", &ScriptSession::Save},
        {"select", 4, "select X0 Z0 X1 Z1", &ScriptSession::Select},
        {"tool", 2, "tool NAME VALUE", &ScriptSession::Tool},
        {"copy", 0, "copy", &ScriptSession::Copy},
        {"cut", 0, "cut", &ScriptSession::Cut},
        {"paste", 0, "paste", &ScriptSession::Paste},
        {"merge", 0, "merge", &ScriptSession::Merge},
        {"undo", 0, "undo", &ScriptSession::Undo},
        {"goal", 0, "goal", &ScriptSession::Goal},
        {"start", 2, "start X Z", &ScriptSession::Start},
        {"enemy", 2, "enemy X Z", &ScriptSession::Enemy},
        {"attributes", 2, "attributes GRAVITY FRICTION", &ScriptSession::Attributes},
        {"tile", 1, "tile N", &ScriptSession::Tile},
        {"wall", 1, "wall N", &ScriptSession::Wall},
        {"enemy-texture", 1, "enemy-texture N", &ScriptSession::EnemyTexture},
        {"refresh-textures", 0, "refresh-textures", &ScriptSession::RefreshTextures},
        {"history", 0, "history", &ScriptSession::History},
        {"revert", 1, "revert N", &ScriptSession::Revert},
        {"rotate", 0, "rotate", &ScriptSession::Rotate},
        {"flip", 1, "flip x|z", &ScriptSession::Flip},
        {"resize", 2, "resize SX SZ [ANCHOR]", &ScriptSession::Resize, 1},
        {"paint", 4, "paint tile|wall SLOT X Z [X Z ...]", &ScriptSession::Paint, kAnyPairs},
    };
    const auto entry =
        std::find_if(std::begin(kCommands), std::end(kCommands),
                     [&](const CommandEntry& each) { return each.name == command.name; });
    if (entry == std::end(kCommands)) {
        return Status::Failure("unknown command " + Quoted(command.name));
    }
    if (!entry->Takes(command.args.size())) {
        return Status::Failure("usage: " + std::string(entry->usage));
    }
    const DocumentState* document = document_.get();
    *before_ = document_->mapGrid;
    Status result = (this->*(entry->run))(command);
    // The view stores its selection in the map before every draw; a script draws after every
    // command.
    session_.StoreSelection(document_->mapGrid);
    // A new or opened map starts its own history.
    if (result && document == document_.get()) {
        history_.Record(*before_, document_->mapGrid, LabelOf(command),
                        tools::EditHistory::Clock::now());
    }
    return result;
}

tools::EditLabel ScriptSession::LabelOf(const ScriptCommand& command) const {
    if (command.name == "tool") {
        const auto tool =
            std::find_if(std::begin(kToolNames), std::end(kToolNames),
                         [&](const ToolName& each) { return each.name == command.args[0]; });
        return {tools::ToolName(tool->mode), 0, session_.UndoStep()};
    }
    if (command.name == "revert") {
        return {revertName_};
    }
    if (command.name == "paint") {
        return {command.args[0] == "tile" ? tools::kBrushTileName : tools::kBrushWallName};
    }
    const auto named =
        std::find_if(std::begin(kEditNames), std::end(kEditNames),
                     [&](const EditName& each) { return each.command == command.name; });
    return {named != std::end(kEditNames) ? named->name : command.name};
}

void ScriptSession::ShowDocument(std::unique_ptr<DocumentState> document) {
    document_ = std::move(document);
    session_.Reset();
    history_.Clear();
    tools::AdoptTextureTable(document_->mapGrid);
    session_.StoreSelection(document_->mapGrid);
}

Status ScriptSession::New(const ScriptCommand&) {
    auto document = std::make_unique<DocumentState>();
    document->mapGrid = *std::make_unique<map::MapGrid>(map::kMaxMapSize, map::kMaxMapSize);
    ShowDocument(std::move(document));
    return Status::Ok();
}

Status ScriptSession::Open(const ScriptCommand& command) {
    const std::string path(command.args[0]);
    auto document = std::make_unique<DocumentState>();
    // The reader's own line-numbered messages go straight to standard error.
    std::cerr.flush();
    const Status loaded = mapfile::LoadMapFile(document->mapGrid, path, {stderr, nullptr});
    if (!loaded) {
        return Status::Failure(path + ": " + loaded.message());
    }
    ShowDocument(std::move(document));
    return Status::Ok();
}

Status ScriptSession::Save(const ScriptCommand& command) {
    const std::string path(command.args[0]);
    if (const Status saved = mapfile::SaveMapFile(document_->mapGrid, path); !saved) {
        return Status::Failure(path + ": " + saved.message());
    }
    return Status::Ok();
}

Status ScriptSession::CellArgument(const ScriptCommand& command, std::size_t first, std::int32_t& x,
                                   std::int32_t& z) const {
    const auto parsedX = ParseWholeNumber(command.args[first]);
    if (!parsedX) {
        return NotWholeNumber(command.args[first]);
    }
    const auto parsedZ = ParseWholeNumber(command.args[first + 1]);
    if (!parsedZ) {
        return NotWholeNumber(command.args[first + 1]);
    }
    const map::MapGrid& grid = document_->mapGrid;
    if (!grid.InMap(*parsedX, *parsedZ)) {
        return Status::Failure("cell (" + std::to_string(*parsedX) + ", " +
                               std::to_string(*parsedZ) + ") is outside the " +
                               std::to_string(grid.SizeX) + "x" + std::to_string(grid.SizeZ) +
                               " map");
    }
    x = *parsedX;
    z = *parsedZ;
    return Status::Ok();
}

Status ScriptSession::Select(const ScriptCommand& command) {
    std::int32_t x0 = 0;
    std::int32_t z0 = 0;
    std::int32_t x1 = 0;
    std::int32_t z1 = 0;
    if (Status cell = CellArgument(command, 0, x0, z0); !cell) {
        return cell;
    }
    if (Status cell = CellArgument(command, 2, x1, z1); !cell) {
        return cell;
    }
    session_.SelectCells(x0, z0, x1, z1);
    return Status::Ok();
}

Status ScriptSession::Tool(const ScriptCommand& command) {
    const auto tool =
        std::find_if(std::begin(kToolNames), std::end(kToolNames),
                     [&](const ToolName& each) { return each.name == command.args[0]; });
    if (tool == std::end(kToolNames)) {
        return Status::Failure("unknown tool " + Quoted(command.args[0]) +
                               " (level, landslide, tilt, flatten, pyramid, raise)");
    }
    const auto value = ParseNumber(command.args[1]);
    if (!value) {
        return Status::Failure(Quoted(command.args[1]) + " is not a number");
    }
    session_.UseTool(tool->mode, *value, *document_);
    return Status::Ok();
}

Status ScriptSession::Copy(const ScriptCommand&) {
    session_.Copy(*document_, *clipboard_);
    return Status::Ok();
}

Status ScriptSession::Cut(const ScriptCommand&) {
    session_.Cut(*document_, *clipboard_);
    return Status::Ok();
}

Status ScriptSession::Paste(const ScriptCommand&) {
    if (!tools::CanPaste(*clipboard_)) {
        return Status::Failure("nothing to paste: nothing has been copied or cut");
    }
    session_.Paste(*document_, *clipboard_);
    return Status::Ok();
}

Status ScriptSession::Merge(const ScriptCommand&) {
    if (!tools::CanPaste(*clipboard_)) {
        return Status::Failure("nothing to merge: nothing has been copied or cut");
    }
    session_.Merge(*document_, *clipboard_);
    return Status::Ok();
}

Status ScriptSession::Undo(const ScriptCommand&) {
    if (!tools::CanUndo(*document_)) {
        return Status::Failure("nothing to undo");
    }
    session_.Undo(*document_);
    return Status::Ok();
}

Status ScriptSession::Goal(const ScriptCommand&) {
    session_.ToggleGoal(*document_);
    return Status::Ok();
}

Status ScriptSession::Start(const ScriptCommand& command) {
    std::int32_t x = 0;
    std::int32_t z = 0;
    if (Status cell = CellArgument(command, 0, x, z); !cell) {
        return cell;
    }
    session_.ToggleStartPlacement();
    session_.ClickCell(x, z, *document_);
    return Status::Ok();
}

Status ScriptSession::Enemy(const ScriptCommand& command) {
    std::int32_t x = 0;
    std::int32_t z = 0;
    if (Status cell = CellArgument(command, 0, x, z); !cell) {
        return cell;
    }
    session_.ToggleEnemyPlacement();
    session_.ClickCell(x, z, *document_);
    return Status::Ok();
}

Status ScriptSession::Attributes(const ScriptCommand& command) {
    const auto gravity = ParseWholeNumber(command.args[0]);
    if (!gravity) {
        return NotWholeNumber(command.args[0]);
    }
    const auto friction = ParseWholeNumber(command.args[1]);
    if (!friction) {
        return NotWholeNumber(command.args[1]);
    }
    if (*gravity < tools::kGravityMin || *gravity > tools::kGravityMax) {
        return Status::Failure("gravity " + std::to_string(*gravity) + " is outside " +
                               std::to_string(tools::kGravityMin) + ".." +
                               std::to_string(tools::kGravityMax));
    }
    if (*friction < tools::kFrictionMin || *friction > tools::kFrictionMax) {
        return Status::Failure("friction " + std::to_string(*friction) + " is outside " +
                               std::to_string(tools::kFrictionMin) + ".." +
                               std::to_string(tools::kFrictionMax));
    }
    tools::ApplyAttributes(document_->mapGrid, *gravity, *friction);
    return Status::Ok();
}

Status ScriptSession::TextureEntry(const ScriptCommand& command, std::int32_t& entry,
                                   std::size_t at) const {
    const auto parsed = ParseWholeNumber(command.args[at]);
    if (!parsed) {
        return NotWholeNumber(command.args[at]);
    }
    // The panel's list always mirrors the map's texture table.
    const std::int32_t count = document_->mapGrid.numtex;
    if (*parsed < 0 || *parsed >= count) {
        return Status::Failure("texture entry " + std::to_string(*parsed) +
                               " does not exist (the list has " + std::to_string(count) +
                               " entries)");
    }
    entry = *parsed;
    return Status::Ok();
}

Status ScriptSession::Tile(const ScriptCommand& command) {
    std::int32_t entry = 0;
    if (Status found = TextureEntry(command, entry); !found) {
        return found;
    }
    tools::ApplyTileTexture(document_->mapGrid, entry);
    return Status::Ok();
}

Status ScriptSession::Wall(const ScriptCommand& command) {
    std::int32_t entry = 0;
    if (Status found = TextureEntry(command, entry); !found) {
        return found;
    }
    tools::ApplyWallTexture(document_->mapGrid, entry);
    return Status::Ok();
}

Status ScriptSession::EnemyTexture(const ScriptCommand& command) {
    std::int32_t entry = 0;
    if (Status found = TextureEntry(command, entry); !found) {
        return found;
    }
    tools::ApplyEnemyTexture(document_->mapGrid, entry);
    return Status::Ok();
}

Status ScriptSession::RefreshTextures(const ScriptCommand&) {
    std::vector<std::string> names;
    if (Status listed = tools::ListDirectoryFiles(".", names); !listed) {
        return listed;
    }
    tools::RefreshTextureArchive(document_->mapGrid, names);
    return Status::Ok();
}

Status ScriptSession::History(const ScriptCommand&) {
    if (out_ == nullptr) {
        return Status::Ok();
    }
    for (const tools::HistoryEntry& entry : history_.Entries()) {
        *out_ << entry.number << '\t' << entry.name << '\t' << CellsText(entry.delta.Touched())
              << '\t' << LocalTimeText(entry.time) << '\n';
    }
    return Status::Ok();
}

Status ScriptSession::Revert(const ScriptCommand& command) {
    const auto number = ParseWholeNumber(command.args[0]);
    if (!number) {
        return NotWholeNumber(command.args[0]);
    }
    const auto& entries = history_.Entries();
    if (*number < 1 || history_.Find(static_cast<std::uint64_t>(*number)) == nullptr) {
        if (entries.empty()) {
            return Status::Failure("no history entry " + std::to_string(*number) +
                                   ": the history is empty");
        }
        return Status::Failure("no history entry " + std::to_string(*number) + " (entries " +
                               std::to_string(entries.front().number) + " to " +
                               std::to_string(entries.back().number) + " are kept)");
    }
    revertName_ = tools::ReturnName(static_cast<std::uint64_t>(*number));
    session_.ReturnTo(history_, static_cast<std::uint64_t>(*number), *document_);
    return Status::Ok();
}

Status ScriptSession::Rotate(const ScriptCommand&) {
    if (!tools::CanPaste(*clipboard_)) {
        return Status::Failure("nothing to rotate: nothing has been copied or cut");
    }
    session_.TurnClipboard(*clipboard_, tools::BlockTurn::Rotate);
    return Status::Ok();
}

Status ScriptSession::Flip(const ScriptCommand& command) {
    const std::string_view axis = command.args[0];
    if (axis != "x" && axis != "z") {
        return Status::Failure("flip takes x or z, not " + Quoted(axis));
    }
    if (!tools::CanPaste(*clipboard_)) {
        return Status::Failure("nothing to flip: nothing has been copied or cut");
    }
    session_.TurnClipboard(*clipboard_,
                           axis == "x" ? tools::BlockTurn::FlipX : tools::BlockTurn::FlipZ);
    return Status::Ok();
}

Status ScriptSession::Resize(const ScriptCommand& command) {
    const auto sizeX = ParseWholeNumber(command.args[0]);
    if (!sizeX) {
        return NotWholeNumber(command.args[0]);
    }
    const auto sizeZ = ParseWholeNumber(command.args[1]);
    if (!sizeZ) {
        return NotWholeNumber(command.args[1]);
    }
    tools::ResizeAnchor anchor = tools::ResizeAnchor::NorthEast;
    if (command.args.size() > 2) {
        const auto named = tools::AnchorNamed(command.args[2]);
        if (!named) {
            return Status::Failure("unknown anchor " + Quoted(command.args[2]) +
                                   " (ne, n, no, e, c, o, se, s, so)");
        }
        anchor = *named;
    }
    return tools::ResizeMap(*document_, session_.selection(), *sizeX, *sizeZ, anchor);
}

Status ScriptSession::Paint(const ScriptCommand& command) {
    const std::string_view kind = command.args[0];
    if (kind != "tile" && kind != "wall") {
        return Status::Failure("paint takes tile or wall, not " + Quoted(kind));
    }
    std::int32_t slot = 0;
    if (Status found = TextureEntry(command, slot, 1); !found) {
        return found;
    }
    std::vector<std::int32_t> cells;
    for (std::size_t at = 2; at < command.args.size(); at += 2) {
        std::int32_t x = 0;
        std::int32_t z = 0;
        if (Status cell = CellArgument(command, at, x, z); !cell) {
            return cell;
        }
        cells.push_back(tools::MapSelection::CellName(x, z));
    }
    session_.PaintStroke(kind == "tile" ? tools::BrushKind::Tile : tools::BrushKind::Wall, slot,
                         cells, *document_);
    return Status::Ok();
}

}  // namespace zandrel::cli
