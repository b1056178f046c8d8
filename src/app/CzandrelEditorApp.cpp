#include "app/CzandrelEditorApp.h"

#include <QCoreApplication>
#include <QLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/RecentFileList.h"
#include "app/UserPrompts.h"

namespace zandrel::app {

namespace {
std::unique_ptr<QTranslator> InstallItalianQtTexts() {
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return nullptr;
    }
    return translator;
}
}  // namespace

CzandrelEditorApp::CzandrelEditorApp(std::unique_ptr<UserPrompts> prompts)
    : qtTexts_(InstallItalianQtTexts()),
      clipboard_(std::make_unique<map::MapGrid>()),
      prompts_(prompts ? std::move(prompts) : std::make_unique<UserPrompts>()) {
    recent_ = std::make_unique<RecentFileList>();
    docs_ = std::make_unique<DocumentManager>(*prompts_, *recent_, *clipboard_);
    mainFrame_ = std::make_unique<CMainFrame>(*docs_, *recent_, *prompts_);
}

CzandrelEditorApp::~CzandrelEditorApp() {
    // Windows before documents: views refer to their document until they are gone.
    mainFrame_.reset();
    docs_.reset();
}

bool CzandrelEditorApp::InitInstance(const QStringList& arguments) {
    QString path;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            path = argument;
            break;
        }
    }
    mainFrame_->resize(1024, 768);
    // Lay the hidden window out now: a map window opened before it shows is sized from it.
    mainFrame_->layout()->activate();
    if (path.isEmpty()) {
        docs_->NewDocument();
    } else if (!mainFrame_->OpenFile(path)) {
        // The program ends here: the main window is never shown, only the reason.
        return false;
    }
    mainFrame_->show();
    return true;
}

}  // namespace zandrel::app
