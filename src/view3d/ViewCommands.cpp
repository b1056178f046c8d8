#include "view3d/ViewCommands.h"

#include <array>

#include "document/CommandIds.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/EditCommands.h"
#include "tools/ToolMode.h"
#include "view3d/EditHost.h"

namespace zandrel::view3d {

namespace {

namespace cmd = document::cmd;
using document::CommandState;
using Row = document::CommandRow<ViewCommands>;

map::MapGrid* ClipboardOf(const ViewCommands& commands) {
    return commands.host().Document().clipboard();
}

template <std::int32_t Mode>
CommandState ToolRule(const ViewCommands& commands) {
    const tools::EditSession& session = commands.host().Session();
    return {session.IsToolEnabled(Mode), session.IsToolChecked(Mode)};
}

// Makes Mode the current tool; flatten, level and landslide also apply it once.
template <std::int32_t Mode>
void ChooseTool(ViewCommands& commands) {
    commands.host().Edit([](tools::EditSession& session, tools::DocumentState& doc) {
        return session.ChooseTool(Mode, doc);
    });
}

CommandState AlwaysEnabled(const ViewCommands& /*commands*/) {
    return {true, false};
}

// Copy and cut need only a clipboard to write to; every window has one through the
// application.
CommandState HasClipboard(const ViewCommands& commands) {
    return {ClipboardOf(commands) != nullptr, false};
}

CommandState ClipboardHasContent(const ViewCommands& commands) {
    const map::MapGrid* clipboard = ClipboardOf(commands);
    return {clipboard != nullptr && tools::CanPaste(*clipboard), false};
}

CommandState UndoRule(const ViewCommands& commands) {
    return {tools::CanUndo(commands.host().Document().state()), false};
}

void ToggleGoal(ViewCommands& commands) {
    commands.host().Edit([](tools::EditSession& session, tools::DocumentState& doc) {
        return session.ToggleGoal(doc);
    });
}

void ToggleStart(ViewCommands& commands) {
    commands.host().Edit([](tools::EditSession& session, tools::DocumentState& /*doc*/) {
        return session.ToggleStartPlacement();
    });
}

void ToggleEnemy(ViewCommands& commands) {
    commands.host().Edit([](tools::EditSession& session, tools::DocumentState& /*doc*/) {
        return session.ToggleEnemyPlacement();
    });
}

// A clipboard command: the session's operation with the application's clipboard, or nothing
// without one.
template <typename Grid, typename Operation>
void WithClipboard(ViewCommands& commands, Operation operation) {
    if (Grid* clipboard = ClipboardOf(commands)) {
        commands.host().Edit(
            [clipboard, operation](tools::EditSession& session, tools::DocumentState& doc) {
                return operation(session, doc, *clipboard);
            });
    }
}

void Copy(ViewCommands& commands) {
    WithClipboard<map::MapGrid>(commands, [](auto& session, auto& doc, auto& clipboard) {
        return session.Copy(doc, clipboard);
    });
}

void Cut(ViewCommands& commands) {
    WithClipboard<map::MapGrid>(commands, [](auto& session, auto& doc, auto& clipboard) {
        return session.Cut(doc, clipboard);
    });
}

void Paste(ViewCommands& commands) {
    WithClipboard<const map::MapGrid>(commands, [](auto& session, auto& doc, auto& clipboard) {
        return session.Paste(doc, clipboard);
    });
}

void Merge(ViewCommands& commands) {
    WithClipboard<const map::MapGrid>(commands, [](auto& session, auto& doc, auto& clipboard) {
        return session.Merge(doc, clipboard);
    });
}

template <tools::BlockTurn Turn>
void TurnClipboard(ViewCommands& commands) {
    WithClipboard<map::MapGrid>(commands, [](auto& session, auto& /*doc*/, auto& clipboard) {
        return session.TurnClipboard(clipboard, Turn);
    });
}

template <tools::BrushKind Kind>
CommandState BrushRule(const ViewCommands& commands) {
    return {true, commands.host().Session().Brush() == Kind};
}

template <tools::BrushKind Kind>
void ToggleBrush(ViewCommands& commands) {
    commands.host().Edit([](tools::EditSession& session, tools::DocumentState& /*doc*/) {
        return session.ToggleBrush(Kind);
    });
}

void Undo(ViewCommands& commands) {
    commands.host().Edit(
        [](tools::EditSession& session, tools::DocumentState& doc) { return session.Undo(doc); });
}

constexpr std::array kRows = {
    Row{cmd::kRaise, &ToolRule<tools::TOOL_RAISE>, &ChooseTool<tools::TOOL_RAISE>},
    Row{cmd::kFlatten, &ToolRule<tools::TOOL_FLATTEN>, &ChooseTool<tools::TOOL_FLATTEN>},
    Row{cmd::kLevel, &ToolRule<tools::TOOL_LEVEL>, &ChooseTool<tools::TOOL_LEVEL>},
    Row{cmd::kLandslide, &ToolRule<tools::TOOL_LANDSLIDE>, &ChooseTool<tools::TOOL_LANDSLIDE>},
    Row{cmd::kTilt, &ToolRule<tools::TOOL_TILT>, &ChooseTool<tools::TOOL_TILT>},
    Row{cmd::kPyramid, &ToolRule<tools::TOOL_PYRAMID>, &ChooseTool<tools::TOOL_PYRAMID>},
    Row{cmd::kStart, &ToolRule<tools::TOOL_PLACE_START>, &ToggleStart},
    Row{cmd::kEnemies, &ToolRule<tools::TOOL_PLACE_ENEMY>, &ToggleEnemy},
    Row{cmd::kGoalArea, &AlwaysEnabled, &ToggleGoal},
    Row{cmd::kEditCopy, &HasClipboard, &Copy},
    Row{cmd::kEditCut, &HasClipboard, &Cut},
    Row{cmd::kEditPaste, &ClipboardHasContent, &Paste},
    Row{cmd::kMerge, &ClipboardHasContent, &Merge},
    Row{cmd::kEditUndo, &UndoRule, &Undo},
    Row{cmd::kRotateClipboard, &ClipboardHasContent, &TurnClipboard<tools::BlockTurn::Rotate>},
    Row{cmd::kFlipClipboardX, &ClipboardHasContent, &TurnClipboard<tools::BlockTurn::FlipX>},
    Row{cmd::kFlipClipboardZ, &ClipboardHasContent, &TurnClipboard<tools::BlockTurn::FlipZ>},
    Row{cmd::kBrushTile, &BrushRule<tools::BrushKind::Tile>, &ToggleBrush<tools::BrushKind::Tile>},
    Row{cmd::kBrushWall, &BrushRule<tools::BrushKind::Wall>, &ToggleBrush<tools::BrushKind::Wall>},
};

constexpr document::CommandRows<ViewCommands> kCommands{kRows};

}  // namespace

ViewCommands::ViewCommands(EditHost& host) : host_(host) {}

bool ViewCommands::UpdateCommand(int id, document::CommandState& state) {
    return kCommands.Update(*this, id, state);
}

bool ViewCommands::ExecuteCommand(int id) {
    return kCommands.Execute(*this, id);
}

}  // namespace zandrel::view3d
