#pragma once

#include <string>

namespace zandrel::mapfile {

// Names of the hidden files a save writes before they take the target's name:
// ".zdm-PID-RANDOM", short whatever the target is called (so any name up to NAME_MAX saves),
// and naming the process that made them, so that a later save can tell one that was abandoned
// by a killed process from one that is still being written.
std::string TemporaryFileName();

// Removes from the open folder the temporaries whose process no longer runs: regular files of
// ours with no other name, left by a save that was killed between naming its file and renaming
// it. Another process's live temporaries are never touched; a failure to remove one is ignored.
void RemoveAbandonedTemporaries(int folder);

}  // namespace zandrel::mapfile
