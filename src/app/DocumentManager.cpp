#include "app/DocumentManager.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

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

document::CzandrelEditorDoc* DocumentManager::OpenWithDialog() {
    const QString path = prompts_.AskOpenPath(dialogParent_);
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
    if (!doc->OnOpenDocument(absolute, &reason)) {
        prompts_.ShowError(dialogParent_, QStringLiteral("Impossibile aprire il documento %1.\n%2")
                                              .arg(QDir::toNativeSeparators(absolute), reason));
        return nullptr;
    }
    recent_.Add(absolute);
    emit recentFilesChanged();
    return Adopt(std::move(doc));
}

document::CzandrelEditorDoc* DocumentManager::RecoverDocument(const QString& copyPath,
                                                              const QString& originalPath) {
    auto doc = std::make_unique<document::CzandrelEditorDoc>();
    QString reason;
    if (!doc->OnOpenDocument(copyPath, &reason)) {
        prompts_.ShowError(
            dialogParent_,
            QStringLiteral("Impossibile recuperare il documento %1.\n%2")
                .arg(QDir::toNativeSeparators(originalPath.isEmpty() ? copyPath : originalPath),
                     reason));
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
    if (!doc->OnSaveDocument(path, &reason)) {
        prompts_.ShowError(dialogParent_, QStringLiteral("Impossibile salvare il documento %1.\n%2")
                                              .arg(QDir::toNativeSeparators(path), reason));
        return false;
    }
    recent_.Add(doc->PathName());
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
    // An untitled map is offered under its title, "zandrelEditor1.zdm".
    const QString suggested =
        doc->PathName().isEmpty() ? doc->Title() + QStringLiteral(".zdm") : doc->PathName();
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
