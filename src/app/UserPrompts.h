#pragma once

#include <QString>

class QWidget;

namespace zandrel::app {

enum class SaveAnswer { Save, Discard, Cancel };

// Every question the shell asks the user and every error it reports goes through here, so
// tests can answer without a modal loop. The base class shows the real dialogs.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // "Salvare le modifiche a <title>?" with Sì / No / Annulla.
    virtual SaveAnswer AskSaveChanges(QWidget* parent, const QString& title);
    // A .zdm path to open, or empty when cancelled.
    virtual QString AskOpenPath(QWidget* parent);
    // A path to save to, starting from suggested; empty when cancelled.
    virtual QString AskSavePath(QWidget* parent, const QString& suggested);
    virtual void ShowError(QWidget* parent, const QString& message);

    static QString SaveChangesText(const QString& title);
};

}  // namespace zandrel::app
