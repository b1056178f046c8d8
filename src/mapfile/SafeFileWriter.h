#pragma once

#include <filesystem>
#include <string_view>

#include "map/Status.h"

namespace zandrel::mapfile {

// Replaces the contents of path with text so that path always names either the old file or the
// complete new one, whatever happens meanwhile (a full disk, a crash, a kill):
// - the text goes to a new file in the same folder, written and flushed to disk before it takes
//   path's name by rename; the folder is flushed afterwards so the new name survives a power cut;
// - where the file system allows it the new file has no name until it is complete (an unnamed
//   O_TMPFILE linked into place), so a process killed mid-save leaves nothing behind, except when
//   killed in the instant between naming the whole file and renaming it; elsewhere it is a hidden
//   ".zdm-PID-RANDOM" file, removed on every failure we live to see. Each successful save also
//   removes what killed saves left in the folder (see RemoveAbandonedTemporaries);
// - the new file keeps the old one's permissions (the usual ones for a new file);
// - a symbolic link keeps its place, and what it points to is replaced;
// - a character device (/dev/null, /dev/stdout on a terminal) is written in place;
// - a folder, FIFO, socket or block device is refused with a reason and never opened, so a
//   FIFO nobody reads cannot make the caller wait.
// Any name the file system accepts can be saved: the temporary name is short and fixed in length.
Status ReplaceFileContents(const std::filesystem::path& path, std::string_view text);

}  // namespace zandrel::mapfile
