#include "app/RecentFileList.h"

#include <QFileInfo>
#include <QSettings>

namespace zandrel::app {

namespace {
constexpr auto kSection = "Recent File List";

QString Normalised(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}
}  // namespace

RecentFileList::RecentFileList() {
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int k = 1; k <= kSize; ++k) {
        const QString path = settings.value(QStringLiteral("File%1").arg(k)).toString();
        if (!path.isEmpty() && !files_.contains(path)) {
            files_.append(path);
        }
    }
}

void RecentFileList::Add(const QString& path) {
    const QString absolute = Normalised(path);
    // Reopening the newest map changes nothing, and writing the settings file is a good part
    // of opening one.
    if (!files_.isEmpty() && files_.first() == absolute) {
        return;
    }
    files_.removeAll(absolute);
    files_.prepend(absolute);
    while (files_.size() > kSize) {
        files_.removeLast();
    }
    Save();
}

void RecentFileList::Remove(const QString& path) {
    files_.removeAll(Normalised(path));
    Save();
}

void RecentFileList::Save() const {
    QSettings settings;
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int k = 1; k <= kSize; ++k) {
        const QString key = QStringLiteral("File%1").arg(k);
        if (k <= files_.size()) {
            settings.setValue(key, files_.at(k - 1));
        } else {
            settings.remove(key);
        }
    }
}

}  // namespace zandrel::app
