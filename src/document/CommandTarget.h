#pragma once

#include <algorithm>
#include <span>

namespace zandrel::document {

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

// One command a target answers: its id, its update rule and its handler.
template <typename Target>
struct CommandRow {
    int id;
    CommandState (*update)(const Target& target);
    void (*execute)(Target& target);
};

// A target's answers from its rows: the row of id decides the state and runs the command.
template <typename Target>
class CommandRows {
public:
    constexpr explicit CommandRows(std::span<const CommandRow<Target>> rows) : rows_(rows) {}

    bool Update(const Target& target, int id, CommandState& state) const {
        const CommandRow<Target>* row = Find(id);
        if (row != nullptr) {
            state = row->update(target);
        }
        return row != nullptr;
    }

    bool Execute(Target& target, int id) const {
        const CommandRow<Target>* row = Find(id);
        if (row != nullptr) {
            row->execute(target);
        }
        return row != nullptr;
    }

private:
    const CommandRow<Target>* Find(int id) const {
        const auto it = std::find_if(rows_.begin(), rows_.end(),
                                     [id](const CommandRow<Target>& row) { return row.id == id; });
        return it == rows_.end() ? nullptr : &*it;
    }

    std::span<const CommandRow<Target>> rows_;
};

}  // namespace zandrel::document
