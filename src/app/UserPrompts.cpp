#include "app/UserPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/MapSizeDialog.h"

namespace zandrel::app {

namespace {
const QString kFilter = QStringLiteral("zandrelEditor Files (*.zdm)");
const QString kTitle = QStringLiteral("zandrelEditor");
const QString kPngFilter = QStringLiteral("Immagini PNG (*.png)");
}  // namespace

QString UserPrompts::SaveChangesText(const QString& title) {
    return QStringLiteral("Salvare le modifiche a %1?").arg(title);
}

SaveAnswer UserPrompts::AskSaveChanges(QWidget* parent, const QString& title) {
    QMessageBox box(QMessageBox::Warning, kTitle, SaveChangesText(title), QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("saveChangesBox"));
    QPushButton* yes = box.addButton(QStringLiteral("&Sì"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    QPushButton* cancel = box.addButton(QStringLiteral("Annulla"), QMessageBox::RejectRole);
    yes->setObjectName(QStringLiteral("saveYes"));
    no->setObjectName(QStringLiteral("saveNo"));
    cancel->setObjectName(QStringLiteral("saveCancel"));
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) {
        return SaveAnswer::Save;
    }
    if (box.clickedButton() == no) {
        return SaveAnswer::Discard;
    }
    return SaveAnswer::Cancel;
}

QString UserPrompts::AskOpenPath(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Apri"), folder, kFilter);
}

QString UserPrompts::AskSavePath(QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent, QStringLiteral("Salva con nome"), suggested, kFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("zdm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString UserPrompts::AskImageSavePath(QWidget* parent, const QString& suggested) {
    QFileDialog dialog(parent, QStringLiteral("Esporta immagine"), suggested, kPngFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString UserPrompts::AskHeightmapPath(QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Importa heightmap"), folder,
                                        kPngFilter);
}

QString UserPrompts::RecoverText(const QStringList& titles) {
    return QStringLiteral(
               "zandrelEditor non è stato chiuso correttamente.\n"
               "Sono state trovate le copie di recupero di:\n%1\n\n"
               "Recuperare le modifiche non salvate?")
        .arg(titles.join(QLatin1Char('\n')));
}

RecoveryAnswer UserPrompts::AskRecover(QWidget* parent, const QStringList& titles) {
    QMessageBox box(QMessageBox::Question, kTitle, RecoverText(titles), QMessageBox::NoButton,
                    parent);
    box.setObjectName(QStringLiteral("recoverBox"));
    QPushButton* recover = box.addButton(QStringLiteral("&Recupera"), QMessageBox::AcceptRole);
    QPushButton* ignore = box.addButton(QStringLiteral("&Ignora"), QMessageBox::DestructiveRole);
    recover->setObjectName(QStringLiteral("recoverYes"));
    ignore->setObjectName(QStringLiteral("recoverIgnore"));
    box.setDefaultButton(recover);
    box.exec();
    if (box.clickedButton() == recover) {
        return RecoveryAnswer::Recover;
    }
    if (box.clickedButton() == ignore) {
        return RecoveryAnswer::Ignore;
    }
    return RecoveryAnswer::Later;
}

std::optional<MapSizeChoice> UserPrompts::AskMapSize(QWidget* parent, std::int32_t sizeX,
                                                     std::int32_t sizeZ) {
    MapSizeDialog dialog(sizeX, sizeZ, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.Choice();
}

void UserPrompts::ShowError(QWidget* parent, const QString& message) {
    QMessageBox box(QMessageBox::Warning, kTitle, message, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("errorBox"));
    box.exec();
}

int UserPrompts::ChooseWindow(QWidget* parent, const QStringList& titles) {
    bool chosen = false;
    const QString title =
        QInputDialog::getItem(parent, QStringLiteral("Seleziona finestra"),
                              QStringLiteral("&Seleziona finestra:"), titles, 0, false, &chosen);
    return chosen ? static_cast<int>(titles.indexOf(title)) : -1;
}

}  // namespace zandrel::app
