#include "app/MapDocks.h"

#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/HistoryWidget.h"
#include "app/OverviewWidget.h"

namespace zandrel::app {

namespace {

QString Key(const QDockWidget* dock, const char* what) {
    return QStringLiteral("Docks/%1/%2").arg(dock->objectName(), QLatin1String(what));
}

}  // namespace

MapDocks::MapDocks(CMainFrame& frame)
    : QObject(&frame),
      frame_(frame),
      overview_(new OverviewWidget),
      history_(new HistoryWidget),
      overviewDock_(
          MakeDock(QStringLiteral("Panoramica"), QStringLiteral("overviewDock"), overview_)),
      historyDock_(
          MakeDock(QStringLiteral("Cronologia"), QStringLiteral("historyDock"), history_)) {
    // Queued: the window may be half destroyed while its activation is announced.
    connect(frame_.MdiArea(), &QMdiArea::subWindowActivated, this, &MapDocks::FollowActiveWindow,
            Qt::QueuedConnection);
}

QDockWidget* MapDocks::MakeDock(const QString& title, const QString& key, QWidget* content) {
    auto* dock = new QDockWidget(title, &frame_);
    dock->setObjectName(key);
    dock->setWidget(content);
    Restore(dock);
    // Whatever moves the dock is remembered; hiding by closing the main window is not, since
    // the dock itself stays shown (isHidden is false).
    connect(dock, &QDockWidget::visibilityChanged, this, [this, dock] { Remember(dock); });
    connect(dock, &QDockWidget::dockLocationChanged, this, [this, dock] { Remember(dock); });
    connect(dock, &QDockWidget::topLevelChanged, this, [this, dock] { Remember(dock); });
    return dock;
}

void MapDocks::Restore(QDockWidget* dock) const {
    const QSettings settings;
    bool ok = false;
    const int area = settings.value(Key(dock, "area"), int(Qt::RightDockWidgetArea)).toInt(&ok);
    const bool known = ok && (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea ||
                              area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea);
    frame_.addDockWidget(known ? Qt::DockWidgetArea(area) : Qt::RightDockWidgetArea, dock);
    if (settings.value(Key(dock, "floating"), false).toBool()) {
        dock->setFloating(true);
        dock->restoreGeometry(settings.value(Key(dock, "geometry")).toByteArray());
    }
    dock->setVisible(settings.value(Key(dock, "shown"), false).toBool());
}

void MapDocks::Remember(const QDockWidget* dock) const {
    QSettings settings;
    settings.setValue(Key(dock, "shown"), IsShown(dock));
    settings.setValue(Key(dock, "area"),
                      int(frame_.dockWidgetArea(const_cast<QDockWidget*>(dock))));
    settings.setValue(Key(dock, "floating"), dock->isFloating());
    if (dock->isFloating()) {
        settings.setValue(Key(dock, "geometry"), dock->saveGeometry());
    }
}

bool MapDocks::IsShown(const QDockWidget* dock) {
    return !dock->isHidden();
}

void MapDocks::Toggle(QDockWidget* dock) {
    dock->setVisible(dock->isHidden());
    if (!dock->isHidden()) {
        dock->raise();
    }
}

void MapDocks::FollowActiveWindow() {
    CChildFrame* active = frame_.ActiveFrame();
    overview_->Follow(active);
    history_->Follow(active);
}

}  // namespace zandrel::app
