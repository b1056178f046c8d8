#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QWidget;

namespace zandrel::app {

struct MapSizeChoice;

enum class SaveAnswer { Save, Discard, Cancel };
// Recover reopens the copies, Ignore deletes them, Later (the box closed without an answer)
// keeps them for the next start.
enum class RecoveryAnswer { Recover, Ignore, Later };

// Every question the shell asks the user and every error it reports goes through here, so
// tests can answer without a modal loop. The base class shows the real dialogs.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // "Salvare le modifiche a <title>?" with Sì / No / Annulla.
    virtual SaveAnswer AskSaveChanges(QWidget* parent, const QString& title);
    // A .zdm path to open, starting in folder, or empty when cancelled.
    virtual QString AskOpenPath(QWidget* parent, const QString& folder);
    // A path to save to, starting from suggested; empty when cancelled.
    virtual QString AskSavePath(QWidget* parent, const QString& suggested);
    // "Esporta immagine...": a .png path to write, starting from suggested; empty when cancelled.
    virtual QString AskImageSavePath(QWidget* parent, const QString& suggested);
    // "Importa heightmap...": a .png path to read, starting in folder; empty when cancelled.
    virtual QString AskHeightmapPath(QWidget* parent, const QString& folder);
    // "Dimensioni mappa...": the new sides and anchor, starting from the map's sizes; nothing
    // when cancelled.
    virtual std::optional<MapSizeChoice> AskMapSize(QWidget* parent, std::int32_t sizeX,
                                                    std::int32_t sizeZ);
    virtual void ShowError(QWidget* parent, const QString& message);
    // After a crash: the maps with recovery copies (their titles), with Recupera / Ignora.
    virtual RecoveryAnswer AskRecover(QWidget* parent, const QStringList& titles);
    // "Altre finestre...": the index of the window picked among titles, or -1.
    virtual int ChooseWindow(QWidget* parent, const QStringList& titles);

    static QString SaveChangesText(const QString& title);
    static QString RecoverText(const QStringList& titles);
};

}  // namespace zandrel::app
