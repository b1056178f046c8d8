#pragma once

#include <QString>

namespace zandrel::app {

// The folder the open and save dialogs start in: the active map's own folder, else the last
// folder a map was opened from or saved to (kept in the settings), else the dialog's default.
class DialogFolder {
public:
    // activeMapPath: the active map's file, empty when it has none or no map is open.
    static QString Choose(const QString& activeMapPath, const QString& lastFolder);

    static QString Last();
    // Remembers the folder of path, a map just opened or saved.
    static void RememberFolderOf(const QString& path);
};

}  // namespace zandrel::app
