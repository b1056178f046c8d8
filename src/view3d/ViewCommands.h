#pragma once

#include <cstdint>

#include "app/CommandTarget.h"
#include "tools/DocumentState.h"

namespace zandrel::view3d {

class CzandrelEditorView;

// The commands a 3D view answers: the six terrain tools and the three placements of the
// "F&unzioni" menu, and undo, cut, copy, paste and merge of "&Modifica". They act on this
// view's selection, its document and the clipboard the application shares among documents.
class ViewCommands : public app::CommandTarget {
public:
    explicit ViewCommands(CzandrelEditorView& view);

    bool UpdateCommand(int id, app::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    void OnToolRaise();
    void OnToolFlatten();
    void OnToolLevel();
    void OnToolLandslide();
    void OnToolTilt();
    void OnToolPyramid();
    void OnAreaGoal();
    void OnToolStart();
    void OnToolEnemy();

    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditMerge();
    void OnEditUndo();

private:
    // Makes mode the current tool; flatten, level and landslide also apply it once.
    void ChooseTool(std::int32_t mode);
    tools::DocumentState& Document();

    CzandrelEditorView& view_;
};

}  // namespace zandrel::view3d
