#include "app/DocumentManager.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "app/DialogFolder.h"
#include "app/FailureMessages.h"
#include "app/RecentFileList.h"
#include "app/UserPrompts.h"
#include "document/CzandrelEditorDoc.h"

namespace zandrel::app {

namespace {
const QString kDocName = QStringLiteral("zandrelEditor");
}  // namespace

DocumentManager::DocumentManager(UserPrompts& prompts, RecentFileList& recent,
                                 map::MapGrid& clipboard, QObject* parent)
    : QObject(parent), prompts_(prompts), recent_(recent), clipboard_(clipboard) {}

DocumentManager::~DocumentManager() = default;

document::CzandrelEditorDoc* DocumentManager::Adopt(
    std::unique_ptr<document::CzandrelEditorDoc> doc) {
    doc->SetClipboard(&clipboard_);
    docs_.push_back(std::move(doc));
    document::CzandrelEditorDoc* added = docs_.back().get();
    emit documentOpened(added);
    return added;
}

document::CzandrelEditorDoc* DocumentManager::NewDocument() {
    auto doc = std::make_unique<document::CzandrelEditorDoc>();
    doc->OnNewDocument();
    doc->SetUntitledName(kDocName + QString::number(++untitledCount_));
    return Adopt(std::move(doc));
}

document::CzandrelEditorDoc* DocumentManager::OpenWithDialog(
    const document::CzandrelEditorDoc* active) {
    const QString folder = DialogFolder::Choose(active != nullptr ? active->PathName() : QString(),
                                                DialogFolder::Last());
    const QString path = prompts_.AskOpenPath(dialogParent_, folder);
    return path.isEmpty() ? nullptr : OpenDocument(path);
}

document::CzandrelEditorDoc* DocumentManager::OpenDocument(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const auto& doc : docs_) {
        if (doc->PathName() == absolute) {
            return doc.get();
        }
    }
    auto doc = std::make_unique<document::CzandrelEditorDoc>();
    QString reason;
    FailureCause cause;
    if (!doc->OnOpenDocument(absolute, &reason, &cause)) {
        prompts_.ShowError(dialogParent_,
                           FailureMessages::Text(FailureMessages::Action::Open, absolute, cause));
        return nullptr;
    }
    recent_.Add(absolute);
    DialogFolder::RememberFolderOf(absolute);
    emit recentFilesChanged();
    return Adopt(std::move(doc));
}

document::CzandrelEditorDoc* DocumentManager::RecoverDocument(const QString& copyPath,
                                                              const QString& originalPath) {
    auto doc = std::make_unique<document::CzandrelEditorDoc>();
    QString reason;
    FailureCause cause;
    if (!doc->OnOpenDocument(copyPath, &reason, &cause)) {
        prompts_.ShowError(
            dialogParent_,
            FailureMessages::Text(FailureMessages::Action::Recover,
                                  originalPath.isEmpty() ? copyPath : originalPath, cause));
        return nullptr;
    }
    doc->SetPathName(originalPath);
    if (originalPath.isEmpty()) {
        doc->SetUntitledName(kDocName + QString::number(++untitledCount_));
    }
    doc->SetModified(true);
    return Adopt(std::move(doc));
}

bool DocumentManager::SaveTo(document::CzandrelEditorDoc* doc, const QString& path) {
    QString reason;
    FailureCause cause;
    if (!doc->OnSaveDocument(path, &reason, &cause)) {
        prompts_.ShowError(dialogParent_,
                           FailureMessages::Text(FailureMessages::Action::Save, path, cause));
        return false;
    }
    recent_.Add(doc->PathName());
    DialogFolder::RememberFolderOf(doc->PathName());
    emit recentFilesChanged();
    return true;
}

bool DocumentManager::Save(document::CzandrelEditorDoc* doc) {
    if (doc->PathName().isEmpty()) {
        return SaveAs(doc);
    }
    return SaveTo(doc, doc->PathName());
}

bool DocumentManager::SaveAs(document::CzandrelEditorDoc* doc) {
    // An untitled map is offered under its title, "zandrelEditor1.zdm", in the last folder used.
    const QString folder = DialogFolder::Choose(doc->PathName(), DialogFolder::Last());
    const QString untitled = doc->Title() + QStringLiteral(".zdm");
    const QString suggested = !doc->PathName().isEmpty() ? doc->PathName()
                              : folder.isEmpty()         ? untitled
                                                         : QDir(folder).filePath(untitled);
    const QString path = prompts_.AskSavePath(dialogParent_, suggested);
    if (path.isEmpty()) {
        return false;
    }
    return SaveTo(doc, path);
}

bool DocumentManager::SaveModified(document::CzandrelEditorDoc* doc) {
    if (!doc->IsModified()) {
        return true;
    }
    switch (prompts_.AskSaveChanges(dialogParent_, doc->Title())) {
        case SaveAnswer::Save:
            return Save(doc);
        case SaveAnswer::Discard:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

void DocumentManager::Remove(document::CzandrelEditorDoc* doc) {
    const auto it = std::find_if(docs_.begin(), docs_.end(),
                                 [doc](const auto& owned) { return owned.get() == doc; });
    if (it != docs_.end()) {
        emit documentClosing(doc);
        docs_.erase(it);
    }
}

}  // namespace zandrel::app
