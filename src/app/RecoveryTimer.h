#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstddef>
#include <map>

namespace zandrel::document {
class CzandrelEditorDoc;
}

namespace zandrel::app {
class DocumentManager;
class RecoveryStore;

// Keeps a recovery copy of every map with unsaved changes: once a map has been modified for
// the interval (two minutes), the next moment without user input (a second and a half, and no
// mouse button held, so a drag is never cut) writes its copy, and then again after each further
// interval if it changed. Saving or closing a map removes its copy; so does a clean exit, which
// is when this object is destroyed.
class RecoveryTimer : public QObject {
    Q_OBJECT

public:
    static constexpr int kDefaultIntervalMs = 120000;
    static constexpr int kDefaultIdleMs = 1500;

    // The environment variables ZANDREL_RECOVERY_INTERVAL_MS and ZANDREL_RECOVERY_IDLE_MS,
    // when set to a positive number, replace the defaults.
    RecoveryTimer(RecoveryStore& store, DocumentManager& docs, QObject* parent = nullptr);
    ~RecoveryTimer() override;

    void SetInterval(int milliseconds);
    void SetIdleDelay(int milliseconds);
    int Interval() const { return intervalMs_; }
    int IdleDelay() const { return idleMs_; }

    // Writes doc's copy at once, whatever the clocks say; false when it could not be written.
    bool WriteNow(document::CzandrelEditorDoc* doc);
    // Where doc's copy is (or would be) written; empty for a document not tracked.
    QString CopyPath(const document::CzandrelEditorDoc* doc) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Tracked {
        int slot = 0;
        bool written = false;
        std::size_t writtenHash = 0;
        QString writtenOriginal;
        // Runs while the map has changes the copy may not hold yet.
        QElapsedTimer dirty;
    };

    void Track(document::CzandrelEditorDoc* doc);
    void Forget(document::CzandrelEditorDoc* doc);
    void RemoveCopy(Tracked& tracked);
    void Tick();
    void UpdateTickPeriod();
    bool UserIsIdle() const;

    RecoveryStore& store_;
    DocumentManager& docs_;
    std::map<const document::CzandrelEditorDoc*, Tracked> tracked_;
    QTimer ticker_;
    QElapsedTimer lastInput_;
    int intervalMs_ = kDefaultIntervalMs;
    int idleMs_ = kDefaultIdleMs;
};

}  // namespace zandrel::app
