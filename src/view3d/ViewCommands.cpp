#include "view3d/ViewCommands.h"

#include "app/CommandIds.h"
#include "app/CzandrelEditorDoc.h"
#include "tools/EditCommands.h"
#include "tools/Placement.h"
#include "tools/ToolMode.h"
#include "tools/ToolState.h"
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
    for (const auto& tool : kToolCommands) {
        if (tool.id == id) {
            state.enabled = tools::ToolState::isToolEnabled(tool.mode, view_.selection());
            state.checked = view_.toolState().isChecked(tool.mode);
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

void ViewCommands::Changed() {
    view_.RedrawNow();
    view_.GetDocument()->MarkChanged(&view_);
}

void ViewCommands::ChooseTool(std::int32_t mode) {
    view_.toolState().chooseTool(mode, view_.selection(), view_.GetDocument()->state());
    if (tools::AppliesWhenChosen(mode)) {
        Changed();
    } else {
        view_.RedrawNow();
    }
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
    // Acts on the selection as the map stored it at the last draw, which is what the view shows.
    tools::ToggleGoal(view_.GetDocument()->mapGrid());
    Changed();
}

void ViewCommands::OnToolStart() {
    view_.toolState().toggleStartPlacement();
    view_.RedrawNow();
}

void ViewCommands::OnToolEnemy() {
    view_.toolState().toggleEnemyPlacement();
    view_.RedrawNow();
}

void ViewCommands::OnEditCopy() {
    if (map::MapGrid* clipboard = view_.GetDocument()->clipboard()) {
        tools::EditCopy(view_.GetDocument()->state(), view_.selection(), *clipboard);
    }
}

void ViewCommands::OnEditCut() {
    if (map::MapGrid* clipboard = view_.GetDocument()->clipboard()) {
        tools::EditCut(view_.GetDocument()->state(), view_.selection(), *clipboard);
        // The flattened block shows now rather than at the next mouse move.
        Changed();
    }
}

void ViewCommands::OnEditPaste() {
    const map::MapGrid* clipboard = view_.GetDocument()->clipboard();
    if (clipboard != nullptr &&
        tools::EditPaste(view_.GetDocument()->state(), view_.selection(), *clipboard)) {
        Changed();
    }
}

void ViewCommands::OnEditMerge() {
    const map::MapGrid* clipboard = view_.GetDocument()->clipboard();
    if (clipboard != nullptr &&
        tools::EditMerge(view_.GetDocument()->state(), view_.selection(), *clipboard)) {
        Changed();
    }
}

void ViewCommands::OnEditUndo() {
    if (tools::EditUndo(view_.GetDocument()->state(), view_.selection())) {
        Changed();
    }
}

}  // namespace zandrel::view3d
