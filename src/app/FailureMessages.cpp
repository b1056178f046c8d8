#include "app/FailureMessages.h"

#include <QDir>

namespace zandrel::app {

namespace {

QString Heading(FailureMessages::Action action, const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    switch (action) {
        case FailureMessages::Action::Save:
            return QStringLiteral("Impossibile salvare il documento %1.").arg(shown);
        case FailureMessages::Action::Recover:
            return QStringLiteral("Impossibile recuperare il documento %1.").arg(shown);
        case FailureMessages::Action::ExportImage:
            return QStringLiteral("Impossibile esportare l'immagine %1.").arg(shown);
        case FailureMessages::Action::ImportHeightmap:
            return QStringLiteral("Impossibile importare la heightmap %1.").arg(shown);
        case FailureMessages::Action::Open:
            break;
    }
    return QStringLiteral("Impossibile aprire il documento %1.").arg(shown);
}

}  // namespace

QString FailureMessages::CauseText(Action action, const FailureCause& cause) {
    const bool saving = action == Action::Save || action == Action::ExportImage;
    switch (cause.kind) {
        case FailureKind::NotFound:
            return saving ? QStringLiteral("La cartella di destinazione non esiste.")
                          : QStringLiteral("Il file non esiste.");
        case FailureKind::NoPermission:
            return saving ? QStringLiteral(
                                "Permesso negato: non si può scrivere in quella "
                                "posizione.")
                          : QStringLiteral("Permesso negato: il file non si può leggere.");
        case FailureKind::IsFolder:
            return QStringLiteral("Il percorso indica una cartella, non un file.");
        case FailureKind::NotRegularFile:
            return QStringLiteral("Il percorso non indica un file normale.");
        case FailureKind::DiskFull:
            return QStringLiteral("Il disco è pieno.");
        case FailureKind::SystemError:
            return QStringLiteral("Errore del sistema (codice %1).").arg(cause.error);
        case FailureKind::ParseError:
            return QStringLiteral(
                       "Il file non è una mappa valida: errore di sintassi alla riga "
                       "%1.")
                .arg(cause.line);
        case FailureKind::StackOverflow:
            return QStringLiteral(
                       "Il file non è una mappa valida: elementi annidati troppo in "
                       "profondità (overflow dello stack) alla riga %1.")
                .arg(cause.line);
        case FailureKind::TagMismatch:
            return QStringLiteral(
                "Il file non è una mappa valida: un tag di chiusura non "
                "corrisponde al suo elemento.");
        case FailureKind::ReadError:
            return QStringLiteral("Errore di lettura alla riga %1.").arg(cause.line);
        case FailureKind::OutOfMemory:
            return QStringLiteral("Memoria insufficiente.");
        case FailureKind::AboveLimit:
            return QStringLiteral("L'attributo %1 vale %2, oltre il limite di %3.")
                .arg(QString::fromStdString(cause.attribute))
                .arg(cause.value)
                .arg(cause.limit);
        case FailureKind::NameTooLong:
            return QStringLiteral(
                       "Il nome della texture %1 è lungo %2 caratteri, oltre il limite "
                       "di %3.")
                .arg(QString::fromStdString(cause.attribute))
                .arg(cause.value)
                .arg(cause.limit);
        case FailureKind::Unspecified:
            break;
    }
    return QStringLiteral("Causa sconosciuta.");
}

QString FailureMessages::Text(Action action, const QString& path, const FailureCause& cause) {
    return Heading(action, path) + QLatin1Char('\n') + CauseText(action, cause);
}

QString FailureMessages::Text(Action action, const QString& path, PictureProblem problem) {
    QString cause;
    switch (problem) {
        case PictureProblem::EmptyView:
            cause = QStringLiteral("La vista 3D non ha un'immagine da esportare (dimensioni 0×0).");
            break;
        case PictureProblem::NotPng:
            cause = QStringLiteral(
                "Il file non è un'immagine PNG leggibile: è di un altro tipo, è danneggiato o "
                "è troppo grande.");
            break;
        case PictureProblem::NoPixels:
            cause = QStringLiteral("L'immagine è vuota (dimensioni 0×0).");
            break;
    }
    return Heading(action, path) + QLatin1Char('\n') + cause;
}

}  // namespace zandrel::app
