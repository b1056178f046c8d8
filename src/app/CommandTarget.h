#pragma once

namespace zandrel::app {

// What an update rule decides about a command: enabled, and whether it shows a check mark.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// Something commands are routed to. A map window's panes (the 3D view and the attribute panel)
// and the shell's own handlers implement it; the first target in the route that answers a
// command both decides its state and runs it.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;

    // Returns false when this target does not handle id; otherwise fills state and returns true.
    virtual bool UpdateCommand(int id, CommandState& state) = 0;
    // Returns false when this target does not handle id; otherwise runs it and returns true.
    virtual bool ExecuteCommand(int id) = 0;
};

}  // namespace zandrel::app
