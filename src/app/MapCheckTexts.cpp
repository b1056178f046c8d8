#include "app/MapCheckTexts.h"

namespace zandrel::app {

QString FindingText(tools::MapCheckCode code) {
    using enum tools::MapCheckCode;
    // No default: a new rule without its text stops the build here.
    switch (code) {
        case SizeEmpty:
            return QStringLiteral("La mappa non ha celle: SizeX o SizeZ vale 0");
        case TextureCountNegative:
            return QStringLiteral("Il numero delle texture (numtex) è negativo");
        case StartMissing:
            return QStringLiteral("Lo start non è stato posizionato");
        case StartOutside:
            return QStringLiteral("Lo start è fuori dalla mappa");
        case EnemyOutside:
            return QStringLiteral("Un nemico è fuori dalla mappa");
        case NoGoal:
            return QStringLiteral("Nessuna cella della mappa è un goal");
        case EnemyTextureRange:
            return QStringLiteral("La texture dei nemici non è nella tabella delle texture");
        case TextureMissing:
            return QStringLiteral("Il file di una texture non si trova");
        case TileTextureRange:
            return QStringLiteral("La texture del terreno non è nella tabella delle texture");
        case WallTextureRange:
            return QStringLiteral("La texture del muro non è nella tabella delle texture");
        case HeightNotFinite:
            return QStringLiteral("Un'altezza della cella non è un numero finito");
        case GravityNotFinite:
            return QStringLiteral("La gravità della cella non è un numero finito");
        case FrictionNotFinite:
            return QStringLiteral("L'attrito della cella non è un numero finito");
    }
    return QString();
}

QString SeverityText(tools::FindingSeverity severity) {
    return severity == tools::FindingSeverity::Error ? QStringLiteral("Errore")
                                                     : QStringLiteral("Avviso");
}

QString CellText(const tools::MapFinding& finding) {
    if (!finding.cell) {
        return QString();
    }
    return QStringLiteral("%1, %2").arg(finding.cell->x).arg(finding.cell->z);
}

QString SummaryText(int errors, int warnings) {
    if (errors == 0 && warnings == 0) {
        return QStringLiteral("Nessun problema: la mappa è adatta al gioco.");
    }
    const QString errorPart =
        errors == 1 ? QStringLiteral("1 errore") : QStringLiteral("%1 errori").arg(errors);
    const QString warningPart =
        warnings == 1 ? QStringLiteral("1 avviso") : QStringLiteral("%1 avvisi").arg(warnings);
    return errorPart + QStringLiteral(", ") + warningPart +
           QStringLiteral(". Doppio clic su un problema con la cella per selezionarla.");
}

QString NoMapText() {
    return QStringLiteral("Nessuna mappa aperta.");
}

}  // namespace zandrel::app
