#include "app/DialogFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace zandrel::app {

namespace {
const QString kKey = QStringLiteral("Settings/LastFolder");
}  // namespace

QString DialogFolder::Choose(const QString& activeMapPath, const QString& lastFolder) {
    // A folder that has gone since would leave the dialog wherever the toolkit likes.
    if (!activeMapPath.isEmpty()) {
        const QFileInfo map(activeMapPath);
        if (map.absoluteDir().exists()) {
            return map.absolutePath();
        }
    }
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) {
        return lastFolder;
    }
    return {};
}

QString DialogFolder::Last() {
    return QSettings().value(kKey).toString();
}

void DialogFolder::RememberFolderOf(const QString& path) {
    // Written only when it changes: every write rewrites the whole settings file.
    QSettings settings;
    const QString folder = QFileInfo(path).absolutePath();
    if (settings.value(kKey).toString() != folder) {
        settings.setValue(kKey, folder);
    }
}

}  // namespace zandrel::app
