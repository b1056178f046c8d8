#include "app/RecoveryStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUuid>
#include <set>

#include "app/RecoveryLock.h"
#include "mapfile/MapWriter.h"

namespace zandrel::app {

namespace {
const QString kMapSuffix = QStringLiteral(".zdm");
const QString kEntrySuffix = QStringLiteral(".json");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kOriginalKey = QStringLiteral("original");
// A record holds one path; anything much larger is not one of ours.
constexpr qint64 kMaxEntryBytes = 64 * 1024;

// "<session>-<slot>.zdm" or ".json"; the session is a UUID without braces.
const QRegularExpression& CopyName() {
    static const QRegularExpression pattern(QStringLiteral(
        "^([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})-([1-9][0-9]{0,8})"
        "(\\.zdm|\\.json)$"));
    return pattern;
}

const QRegularExpression& LockName() {
    static const QRegularExpression pattern(
        QStringLiteral("^([0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12})\\.lock$"));
    return pattern;
}

// Only plain files are ours: a link or anything else planted under one of our names is left
// alone and never read.
bool IsPlainFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink();
}

// The original path a record names; empty for an untitled map, and for a record that cannot
// be read as one, so that the copy itself is still offered rather than lost.
QString ReadOriginalPath(const QString& entryPath) {
    QFile file(entryPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxEntryBytes) {
        return {};
    }
    const QJsonDocument json = QJsonDocument::fromJson(file.read(kMaxEntryBytes));
    const QString original = json.object().value(kOriginalKey).toString();
    return QDir::isAbsolutePath(original) ? QDir::cleanPath(original) : QString();
}

bool WriteEntry(const QString& entryPath, const QString& originalPath, QString* error) {
    QJsonObject record;
    record.insert(kOriginalKey, originalPath);
    QSaveFile file(entryPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(QJsonDocument(record).toJson()) < 0 ||
        !file.commit()) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return false;
    }
    return true;
}
}  // namespace

RecoveryStore::RecoveryStore(const QString& folder)
    : folder_(folder.isEmpty() ? DefaultFolder() : folder),
      session_(QUuid::createUuid().toString(QUuid::WithoutBraces)) {
    if (QDir().mkpath(folder_)) {
        ownLock_ = std::make_unique<RecoveryLock>(LockPath(session_));
    }
}

RecoveryStore::~RecoveryStore() {
    ReleaseAbandoned();
    if (ownLock_) {
        ownLock_->RemoveAndRelease();
    }
}

QString RecoveryStore::DefaultFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

bool RecoveryStore::IsUsable() const {
    return ownLock_ && ownLock_->IsHeld();
}

QString RecoveryStore::MapPath(const QString& session, int slot) const {
    return folder_ + QLatin1Char('/') + session + QLatin1Char('-') + QString::number(slot) +
           kMapSuffix;
}

QString RecoveryStore::EntryPath(const QString& session, int slot) const {
    return folder_ + QLatin1Char('/') + session + QLatin1Char('-') + QString::number(slot) +
           kEntrySuffix;
}

QString RecoveryStore::LockPath(const QString& session) const {
    return folder_ + QLatin1Char('/') + session + kLockSuffix;
}

bool RecoveryStore::Write(int slot, const map::MapGrid& grid, const QString& originalPath,
                          QString* error) {
    if (!IsUsable()) {
        if (error != nullptr) {
            *error = QStringLiteral("cartella di recupero non disponibile: %1").arg(folder_);
        }
        return false;
    }
    const Status saved = mapfile::SaveMapFile(
        grid, std::filesystem::path(QFile::encodeName(MapPath(session_, slot)).toStdString()));
    if (!saved.ok()) {
        if (error != nullptr) {
            *error = QString::fromStdString(saved.message());
        }
        return false;
    }
    return WriteEntry(EntryPath(session_, slot), originalPath, error);
}

void RecoveryStore::Remove(int slot) {
    QFile::remove(EntryPath(session_, slot));
    QFile::remove(MapPath(session_, slot));
}

bool RecoveryStore::IsOwnedByLiveRun(const QString& session) {
    if (session == session_) {
        return true;
    }
    if (takenOver_.contains(session)) {
        return false;
    }
    auto lock = std::make_unique<RecoveryLock>(LockPath(session));
    if (!lock->IsHeld()) {
        return true;
    }
    takenOver_.emplace(session, std::move(lock));
    return false;
}

std::vector<RecoveredCopy> RecoveryStore::FindAbandoned() {
    std::vector<RecoveredCopy> found;
    if (!IsUsable()) {
        return found;
    }
    const QDir dir(folder_);
    // Runs that died with nothing to recover still leave their lock file: take those over too,
    // so ReleaseAbandoned clears them.
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto match = LockName().match(name);
        if (match.hasMatch()) {
            IsOwnedByLiveRun(match.captured(1));
        }
    }
    std::set<std::pair<QString, int>> pairs;
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        const auto match = CopyName().match(name);
        if (match.hasMatch() && !IsOwnedByLiveRun(match.captured(1))) {
            pairs.emplace(match.captured(1), match.captured(2).toInt());
        }
    }
    for (const auto& [session, slot] : pairs) {
        RecoveredCopy copy{MapPath(session, slot), EntryPath(session, slot), QString(), session};
        const bool hasMap = IsPlainFile(copy.mapPath);
        const bool hasEntry = IsPlainFile(copy.entryPath);
        if (hasMap && hasEntry) {
            copy.originalPath = ReadOriginalPath(copy.entryPath);
            found.push_back(copy);
        } else if (hasMap != hasEntry) {
            // Half a pair: its run was killed between the two writes or the two removals.
            Discard(copy);
        }
    }
    return found;
}

void RecoveryStore::Discard(const RecoveredCopy& copy) {
    if (IsPlainFile(copy.entryPath)) {
        QFile::remove(copy.entryPath);
    }
    if (IsPlainFile(copy.mapPath)) {
        QFile::remove(copy.mapPath);
    }
}

void RecoveryStore::ReleaseAbandoned() {
    const QDir dir(folder_);
    for (auto& [session, lock] : takenOver_) {
        const QStringList left =
            dir.entryList({session + QStringLiteral("-*")}, QDir::Files | QDir::Hidden);
        if (left.isEmpty()) {
            lock->RemoveAndRelease();
        }
    }
    takenOver_.clear();
}

}  // namespace zandrel::app
