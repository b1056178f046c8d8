#include "app/RecoveryTimer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <algorithm>
#include <functional>
#include <string>

#include "app/DocumentManager.h"
#include "app/RecoveryStore.h"
#include "document/CzandrelEditorDoc.h"
#include "mapfile/MapWriter.h"

namespace zandrel::app {

namespace {
int PositiveFromEnvironment(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
            return true;
        default:
            return false;
    }
}
}  // namespace

RecoveryTimer::RecoveryTimer(RecoveryStore& store, DocumentManager& docs, QObject* parent)
    : QObject(parent),
      store_(store),
      docs_(docs),
      intervalMs_(PositiveFromEnvironment("ZANDREL_RECOVERY_INTERVAL_MS", kDefaultIntervalMs)),
      idleMs_(PositiveFromEnvironment("ZANDREL_RECOVERY_IDLE_MS", kDefaultIdleMs)) {
    lastInput_.start();
    for (const auto& doc : docs_.Documents()) {
        Track(doc.get());
    }
    connect(&docs_, &DocumentManager::documentOpened, this, &RecoveryTimer::Track);
    connect(&docs_, &DocumentManager::documentClosing, this, &RecoveryTimer::Forget);
    connect(&ticker_, &QTimer::timeout, this, &RecoveryTimer::Tick);
    UpdateTickPeriod();
    ticker_.start();
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->installEventFilter(this);
    }
}

RecoveryTimer::~RecoveryTimer() {
    for (auto& [doc, tracked] : tracked_) {
        RemoveCopy(tracked);
    }
}

void RecoveryTimer::SetInterval(int milliseconds) {
    intervalMs_ = std::max(1, milliseconds);
    UpdateTickPeriod();
}

void RecoveryTimer::SetIdleDelay(int milliseconds) {
    idleMs_ = std::max(1, milliseconds);
    UpdateTickPeriod();
}

void RecoveryTimer::UpdateTickPeriod() {
    // Often enough to catch a short idle moment, rarely enough to cost nothing.
    ticker_.setInterval(std::clamp(std::min(intervalMs_, idleMs_) / 2, 5, 500));
}

void RecoveryTimer::Track(document::CzandrelEditorDoc* doc) {
    if (tracked_.contains(doc)) {
        return;
    }
    Tracked& tracked = tracked_[doc];
    tracked.slot = store_.NewSlot();
    if (doc->IsModified()) {
        tracked.dirty.start();
    }
    connect(doc, &document::CzandrelEditorDoc::modifiedChanged, this, [this, doc](bool modified) {
        const auto it = tracked_.find(doc);
        if (it == tracked_.end()) {
            return;
        }
        if (modified) {
            it->second.dirty.start();
        } else {
            // Saved: the file on disk now holds everything the copy did.
            RemoveCopy(it->second);
        }
    });
}

void RecoveryTimer::Forget(document::CzandrelEditorDoc* doc) {
    const auto it = tracked_.find(doc);
    if (it == tracked_.end()) {
        return;
    }
    RemoveCopy(it->second);
    disconnect(doc, nullptr, this, nullptr);
    tracked_.erase(it);
}

void RecoveryTimer::RemoveCopy(Tracked& tracked) {
    if (tracked.written) {
        store_.Remove(tracked.slot);
    }
    tracked.written = false;
    tracked.dirty.invalidate();
}

QString RecoveryTimer::CopyPath(const document::CzandrelEditorDoc* doc) const {
    const auto it = tracked_.find(doc);
    return it == tracked_.end() ? QString() : store_.CopyPath(it->second.slot);
}

bool RecoveryTimer::eventFilter(QObject* watched, QEvent* event) {
    if (IsUserInput(event->type())) {
        lastInput_.restart();
    }
    return QObject::eventFilter(watched, event);
}

bool RecoveryTimer::UserIsIdle() const {
    return lastInput_.elapsed() >= idleMs_ && QGuiApplication::mouseButtons() == Qt::NoButton;
}

bool RecoveryTimer::WriteNow(document::CzandrelEditorDoc* doc) {
    Track(doc);
    Tracked& tracked = tracked_[doc];
    const std::size_t hash = std::hash<std::string>{}(mapfile::FormatMap(doc->mapGrid()));
    if (tracked.written && hash == tracked.writtenHash &&
        tracked.writtenOriginal == doc->PathName()) {
        tracked.dirty.restart();
        return true;
    }
    QString error;
    if (!store_.Write(tracked.slot, doc->mapGrid(), doc->PathName(), &error)) {
        qWarning("Copia di recupero di %s non scritta: %s", qUtf8Printable(doc->Title()),
                 qUtf8Printable(error));
        // Try again after another interval rather than at every tick.
        tracked.dirty.restart();
        return false;
    }
    tracked.written = true;
    tracked.writtenHash = hash;
    tracked.writtenOriginal = doc->PathName();
    tracked.dirty.restart();
    return true;
}

void RecoveryTimer::Tick() {
    if (!UserIsIdle()) {
        return;
    }
    for (const auto& owned : docs_.Documents()) {
        document::CzandrelEditorDoc* doc = owned.get();
        const auto it = tracked_.find(doc);
        if (it == tracked_.end() || !doc->IsModified()) {
            continue;
        }
        QElapsedTimer& dirty = it->second.dirty;
        if (!dirty.isValid()) {
            dirty.start();
        }
        if (dirty.elapsed() >= intervalMs_) {
            WriteNow(doc);
        }
    }
}

}  // namespace zandrel::app
