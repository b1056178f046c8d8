#pragma once

#include <QString>
#include <QStringList>

#include "app/MapSizeDialog.h"
#include "app/UserPrompts.h"

namespace zandrel::gui_test {

// Answers the shell's questions from fields and records what was asked, so tests run without
// modal dialogs.
class FakePrompts : public app::UserPrompts {
public:
    app::SaveAnswer saveAnswer = app::SaveAnswer::Cancel;
    QString savePath;
    QString imageSavePath;  // the answer to "Esporta immagine..."
    QString heightmapPath;  // the answer to "Importa heightmap..."
    // Ignore by default, so a test never reopens copies it did not make.
    app::RecoveryAnswer recoveryAnswer = app::RecoveryAnswer::Ignore;

    QStringList saveQuestions;  // the titles asked about
    QStringList errors;
    QString lastSuggestedPath;
    QString openFolder;                    // where the last open dialog would have started
    int chosenWindow = -1;                 // the answer to "Altre finestre..."
    QList<QStringList> windowChoices;      // the titles offered there, per question
    QList<QStringList> recoveryQuestions;  // the titles offered, per question

    app::SaveAnswer AskSaveChanges(QWidget*, const QString& title) override {
        saveQuestions.append(title);
        return saveAnswer;
    }
    // Cancelled, as is the map size dialog: the tests open maps by their path.
    QString AskOpenPath(QWidget*, const QString& folder) override {
        openFolder = folder;
        return {};
    }
    int ChooseWindow(QWidget*, const QStringList& titles) override {
        windowChoices.append(titles);
        return chosenWindow;
    }
    QString AskSavePath(QWidget*, const QString& suggested) override {
        lastSuggestedPath = suggested;
        return savePath;
    }
    QString AskImageSavePath(QWidget*, const QString&) override { return imageSavePath; }
    QString AskHeightmapPath(QWidget*, const QString&) override { return heightmapPath; }
    std::optional<app::MapSizeChoice> AskMapSize(QWidget*, std::int32_t, std::int32_t) override {
        return std::nullopt;
    }
    void ShowError(QWidget*, const QString& message) override { errors.append(message); }
    app::RecoveryAnswer AskRecover(QWidget*, const QStringList& titles) override {
        recoveryQuestions.append(titles);
        return recoveryAnswer;
    }
};

}  // namespace zandrel::gui_test
