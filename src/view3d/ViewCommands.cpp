#include "view3d/ViewCommands.h"

#include "app/CommandIds.h"
#include "app/CzandrelEditorDoc.h"
#include "tools/EditCommands.h"
#include "tools/ToolMode.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::view3d {

namespace cmd = app::cmd;

namespace {

// The tool each tool command makes current.
constexpr struct {
    int id;
    std::int32_t mode;
} kToolCommands[] = {
    {cmd::kRaise, tools::TOOL_RAISE},       {cmd::kFlatten, tools::TOOL_FLATTEN},
    {cmd::kLevel, tools::TOOL_LEVEL},       {cmd::kLandslide, tools::TOOL_LANDSLIDE},
    {cmd::kTilt, tools::TOOL_TILT},         {cmd::kPyramid, tools::TOOL_PYRAMID},
    {cmd::kStart, tools::TOOL_PLACE_START}, {cmd::kEnemies, tools::TOOL_PLACE_ENEMY},
};

}  // namespace

ViewCommands::ViewCommands(CzandrelEditorView& view) : view_(view) {}

bool ViewCommands::UpdateCommand(int id, app::CommandState& state) {
    const tools::EditSession& session = view_.session();
    for (const auto& tool : kToolCommands) {
        if (tool.id == id) {
            state.enabled = session.IsToolEnabled(tool.mode);
            state.checked = session.IsToolChecked(tool.mode);
            return true;
        }
    }
    const map::MapGrid* clipboard = view_.GetDocument()->clipboard();
    switch (id) {
        case cmd::kGoalArea:
            state = {true, false};
            return true;
        // Copy and cut need only a clipboard to write to; every window has one through the
        // application.
        case cmd::kEditCopy:
        case cmd::kEditCut:
            state = {clipboard != nullptr, false};
            return true;
        case cmd::kEditPaste:
        case cmd::kMerge:
            state = {clipboard != nullptr && tools::CanPaste(*clipboard), false};
            return true;
        case cmd::kEditUndo:
            state = {tools::CanUndo(view_.GetDocument()->state()), false};
            return true;
        default:
            return false;
    }
}

bool ViewCommands::ExecuteCommand(int id) {
    switch (id) {
        case cmd::kRaise:
            OnToolRaise();
            return true;
        case cmd::kFlatten:
            OnToolFlatten();
            return true;
        case cmd::kLevel:
            OnToolLevel();
            return true;
        case cmd::kLandslide:
            OnToolLandslide();
            return true;
        case cmd::kTilt:
            OnToolTilt();
            return true;
        case cmd::kPyramid:
            OnToolPyramid();
            return true;
        case cmd::kGoalArea:
            OnAreaGoal();
            return true;
        case cmd::kStart:
            OnToolStart();
            return true;
        case cmd::kEnemies:
            OnToolEnemy();
            return true;
        case cmd::kEditCopy:
            OnEditCopy();
            return true;
        case cmd::kEditCut:
            OnEditCut();
            return true;
        case cmd::kEditPaste:
            OnEditPaste();
            return true;
        case cmd::kMerge:
            OnEditMerge();
            return true;
        case cmd::kEditUndo:
            OnEditUndo();
            return true;
        default:
            return false;
    }
}

void ViewCommands::ChooseTool(std::int32_t mode) {
    view_.Apply(view_.session().ChooseTool(mode, Document()));
}

tools::DocumentState& ViewCommands::Document() {
    return view_.GetDocument()->state();
}

void ViewCommands::OnToolRaise() {
    ChooseTool(tools::TOOL_RAISE);
}

void ViewCommands::OnToolFlatten() {
    ChooseTool(tools::TOOL_FLATTEN);
}

void ViewCommands::OnToolLevel() {
    ChooseTool(tools::TOOL_LEVEL);
}

void ViewCommands::OnToolLandslide() {
    ChooseTool(tools::TOOL_LANDSLIDE);
}

void ViewCommands::OnToolTilt() {
    ChooseTool(tools::TOOL_TILT);
}

void ViewCommands::OnToolPyramid() {
    ChooseTool(tools::TOOL_PYRAMID);
}

void ViewCommands::OnAreaGoal() {
    view_.Apply(view_.session().ToggleGoal(Document()));
}

void ViewCommands::OnToolStart() {
    view_.Apply(view_.session().ToggleStartPlacement());
}

void ViewCommands::OnToolEnemy() {
    view_.Apply(view_.session().ToggleEnemyPlacement());
}

void ViewCommands::OnEditCopy() {
    if (map::MapGrid* clipboard = view_.GetDocument()->clipboard()) {
        view_.Apply(view_.session().Copy(Document(), *clipboard));
    }
}

void ViewCommands::OnEditCut() {
    if (map::MapGrid* clipboard = view_.GetDocument()->clipboard()) {
        view_.Apply(view_.session().Cut(Document(), *clipboard));
    }
}

void ViewCommands::OnEditPaste() {
    if (const map::MapGrid* clipboard = view_.GetDocument()->clipboard()) {
        view_.Apply(view_.session().Paste(Document(), *clipboard));
    }
}

void ViewCommands::OnEditMerge() {
    if (const map::MapGrid* clipboard = view_.GetDocument()->clipboard()) {
        view_.Apply(view_.session().Merge(Document(), *clipboard));
    }
}

void ViewCommands::OnEditUndo() {
    view_.Apply(view_.session().Undo(Document()));
}

}  // namespace zandrel::view3d
