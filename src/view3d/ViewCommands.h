#pragma once

#include "document/CommandTarget.h"

namespace zandrel::view3d {

class EditHost;

// The commands a 3D view answers: the six terrain tools, the three placements and the two
// texture brushes of the "F&unzioni" menu, and undo, cut, copy, paste, merge and the turns of
// the clipboard of "&Modifica". Each is a row of its update rule and its handler, both the edit
// session's; they act on the view's selection, its document and the clipboard the application
// shares among documents.
class ViewCommands : public document::CommandTarget {
public:
    explicit ViewCommands(EditHost& host);

    bool UpdateCommand(int id, document::CommandState& state) override;
    bool ExecuteCommand(int id) override;

    EditHost& host() { return host_; }
    const EditHost& host() const { return host_; }

private:
    EditHost& host_;
};

}  // namespace zandrel::view3d
