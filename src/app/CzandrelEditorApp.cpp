#include "app/CzandrelEditorApp.h"

#include <QCoreApplication>
#include <QDir>
#include <QLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/CMainFrame.h"
#include "app/DocumentManager.h"
#include "app/RecentFileList.h"
#include "app/RecoveryStore.h"
#include "app/RecoveryTimer.h"
#include "app/UserPrompts.h"
#include "document/CzandrelEditorDoc.h"

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
    recoveryStore_ = std::make_unique<RecoveryStore>();
    docs_ = std::make_unique<DocumentManager>(*prompts_, *recent_, *clipboard_);
    recoveryTimer_ = std::make_unique<RecoveryTimer>(*recoveryStore_, *docs_);
    mainFrame_ = std::make_unique<CMainFrame>(*docs_, *recent_, *prompts_);
}

CzandrelEditorApp::~CzandrelEditorApp() {
    // Windows before documents: views refer to their document until they are gone.
    mainFrame_.reset();
    // A clean exit: whatever copies are left go with the timer, before their documents.
    recoveryTimer_.reset();
    docs_.reset();
}

int CzandrelEditorApp::OfferRecovery() {
    const std::vector<RecoveredCopy> copies = recoveryStore_->FindAbandoned();
    int recovered = 0;
    if (!copies.empty()) {
        QStringList titles;
        for (const RecoveredCopy& copy : copies) {
            titles.append(copy.originalPath.isEmpty()
                              ? QStringLiteral("(documento senza nome)")
                              : QDir::toNativeSeparators(copy.originalPath));
        }
        switch (prompts_->AskRecover(mainFrame_.get(), titles)) {
            case RecoveryAnswer::Recover:
                for (const RecoveredCopy& copy : copies) {
                    document::CzandrelEditorDoc* doc =
                        docs_->RecoverDocument(copy.mapPath, copy.originalPath);
                    if (doc == nullptr) {
                        // Kept: the copy may still be read another way, it is not ours to lose.
                        continue;
                    }
                    ++recovered;
                    // The old copy goes only once this run holds its own.
                    if (recoveryTimer_->WriteNow(doc)) {
                        recoveryStore_->Discard(copy);
                    }
                }
                break;
            case RecoveryAnswer::Ignore:
                for (const RecoveredCopy& copy : copies) {
                    recoveryStore_->Discard(copy);
                }
                break;
            case RecoveryAnswer::Later:
                break;
        }
    }
    recoveryStore_->ReleaseAbandoned();
    return recovered;
}

bool CzandrelEditorApp::InitInstance(const QStringList& arguments) {
    QStringList paths;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1Char('-'))) {
            paths.append(argument);
        }
    }
    mainFrame_->resize(1024, 768);
    // Lay the hidden window out now: a map window opened before it shows is sized from it.
    mainFrame_->layout()->activate();
    const int recovered = OfferRecovery();
    // Every map named opens, in order, so the last one ends up active; one that cannot be
    // opened has had its message and the others still open.
    int opened = 0;
    for (const QString& path : paths) {
        opened += mainFrame_->OpenFile(path) ? 1 : 0;
    }
    if (paths.isEmpty() && recovered == 0) {
        docs_->NewDocument();
    } else if (!paths.isEmpty() && opened == 0 && recovered == 0) {
        // The program ends here: the main window is never shown, only the reasons. Not so with
        // recovered maps open: ending would throw them away again.
        return false;
    }
    mainFrame_->show();
    return true;
}

}  // namespace zandrel::app
