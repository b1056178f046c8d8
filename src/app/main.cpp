#include <QApplication>

#include "app/CzandrelEditorApp.h"
#include "app/EditorSurfaceFormat.h"

int main(int argc, char* argv[]) {
    zandrel::app::UseEditorSurfaceFormat();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(
        QString::fromUtf8(zandrel::app::CzandrelEditorApp::kSettingsKey));
    QApplication::setApplicationName(
        QString::fromLatin1(zandrel::app::CzandrelEditorApp::kAppName));

    zandrel::app::CzandrelEditorApp editor;
    if (!editor.InitInstance(QApplication::arguments().mid(1))) {
        return 1;
    }
    return QApplication::exec();
}
