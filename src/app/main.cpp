#include <QApplication>
#include <iostream>
#include <span>

#include "app/CzandrelEditorApp.h"
#include "app/EditorSurfaceFormat.h"
#include "app/InfoOptions.h"
#include "app/OpenGLProbe.h"
#include "app/UserPrompts.h"
#include "view3d/CzandrelEditorView.h"
#include "view3d/HugePageHeap.h"

int main(int argc, char* argv[]) {
    if (const auto answered = zandrel::app::AnswerInfoOption(
            std::span(argv, static_cast<std::size_t>(argc)), std::cout)) {
        return *answered;
    }
    // About what the driver takes before the first frame of a full 50 x 50 map is shown.
    zandrel::view3d::HugePageHeap::Reserve(std::size_t{32} << 20);
    zandrel::app::UseEditorSurfaceFormat();
    // Every map view draws with its own context: one share group keeps one set of textures.
    zandrel::view3d::CzandrelEditorView::PrepareApplication();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(
        QString::fromUtf8(zandrel::app::CzandrelEditorApp::kSettingsKey));
    QApplication::setApplicationName(
        QString::fromLatin1(zandrel::app::CzandrelEditorApp::kAppName));

    // A map window without OpenGL crashes inside Qt; say so and stop before making one.
    const QString glFailure = zandrel::app::OpenGLProbe::FailureMessage();
    if (!glFailure.isEmpty()) {
        zandrel::app::UserPrompts().ShowError(nullptr, glFailure);
        return 1;
    }

    zandrel::app::CzandrelEditorApp editor;
    if (!editor.InitInstance(QApplication::arguments().mid(1))) {
        return 1;
    }
    return QApplication::exec();
}
