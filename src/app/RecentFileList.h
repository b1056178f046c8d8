#pragma once

#include <QString>
#include <QStringList>

namespace zandrel::app {

// The most recently opened or saved maps, newest first, kept in the settings under
// "Recent File List" as File1 .. File4 so the list survives restarts.
class RecentFileList {
public:
    static constexpr int kSize = 4;

    // Reads the list from the settings.
    RecentFileList();

    const QStringList& Files() const { return files_; }
    // Moves path to the front (adding it when new), drops the oldest beyond kSize, and saves.
    void Add(const QString& path);
    // Drops path (a file that could no longer be opened) and saves.
    void Remove(const QString& path);

private:
    void Save() const;

    QStringList files_;
};

}  // namespace zandrel::app
