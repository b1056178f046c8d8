#pragma once

#include <QString>
#include <map>
#include <memory>
#include <vector>

#include "map/MapGrid.h"

namespace zandrel::app {

class RecoveryLock;

// One recovery copy left behind by an editor that is no longer running.
struct RecoveredCopy {
    QString mapPath;       // the copy itself, a .zdm file
    QString entryPath;     // its record, naming the original
    QString originalPath;  // absolute; empty for a map that never had a file
    QString session;       // the editor run that wrote it
};

// The folder of recovery copies. Each editor run is a session with a random id and a lock file
// it holds while running; each copy is "<session>-<slot>.zdm" plus a record
// "<session>-<slot>.json" naming the original file. The map is written first and the record
// last, each by an atomic rename, and removal goes the other way round, so a kill at any moment
// leaves either a whole pair or a part that no one offers (and that the next start clears up).
class RecoveryStore {
public:
    // folder is created when missing; an empty folder means DefaultFolder().
    explicit RecoveryStore(const QString& folder = QString());
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // "recovery" in the user's data folder of this application.
    static QString DefaultFolder();

    const QString& Folder() const { return folder_; }
    const QString& Session() const { return session_; }
    // False when the folder or this run's lock could not be made: nothing is written then.
    bool IsUsable() const;

    // A slot number for a new document of this run.
    int NewSlot() { return ++lastSlot_; }
    // Writes (or replaces) the copy in slot; false and *error when it could not.
    bool Write(int slot, const map::MapGrid& grid, const QString& originalPath, QString* error);
    void Remove(int slot);
    // Where slot's copy goes.
    QString CopyPath(int slot) const { return MapPath(session_, slot); }

    // The whole copies of runs that no longer hold their lock. Their locks are taken over, so
    // no other editor starting now offers them too, until Forget or Discard. Stray halves of
    // pairs of those runs are deleted on the way.
    std::vector<RecoveredCopy> FindAbandoned();
    // Deletes a copy found by FindAbandoned.
    void Discard(const RecoveredCopy& copy);
    // Lets go of the runs taken over by FindAbandoned: the lock files of runs with nothing left
    // are removed, the others are released for a later start.
    void ReleaseAbandoned();

private:
    QString MapPath(const QString& session, int slot) const;
    QString EntryPath(const QString& session, int slot) const;
    QString LockPath(const QString& session) const;
    // True when session is this run or another running editor.
    bool IsOwnedByLiveRun(const QString& session);

    QString folder_;
    QString session_;
    std::unique_ptr<RecoveryLock> ownLock_;
    std::map<QString, std::unique_ptr<RecoveryLock>> takenOver_;
    int lastSlot_ = 0;
};

}  // namespace zandrel::app
