#include "app/HistoryWidget.h"

#include <QDateTime>
#include <QHeaderView>

#include "app/CChildFrame.h"
#include "document/CzandrelEditorDoc.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

HistoryWidget::HistoryWidget(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("historyList"));
    setColumnCount(kColumnCount);
    setHeaderLabels({QStringLiteral("N."), QStringLiteral("Comando"), QStringLiteral("Celle"),
                     QStringLiteral("Ora")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
    header()->setStretchLastSection(false);
    for (const int column : {kNumberColumn, kCellsColumn, kTimeColumn}) {
        header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    setToolTip(QStringLiteral("Doppio clic su una voce per tornare allo stato dopo di essa"));
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int /*column*/) {
                if (item != nullptr && view_ != nullptr) {
                    view_->ReturnToEntry(NumberOf(*item));
                }
            });
}

const document::CzandrelEditorDoc* HistoryWidget::Document() const {
    return doc_;
}

void HistoryWidget::Follow(CChildFrame* frame) {
    document::CzandrelEditorDoc* doc = frame != nullptr ? frame->GetDocument() : nullptr;
    view_ = frame != nullptr ? frame->View() : nullptr;
    if (doc != doc_) {
        disconnect(changed_);
        doc_ = doc;
        clear();
        if (doc_ != nullptr) {
            changed_ = connect(doc_, &document::CzandrelEditorDoc::historyChanged, this,
                               &HistoryWidget::Sync);
        }
    }
    Sync();
}

void HistoryWidget::showEvent(QShowEvent* event) {
    QTreeWidget::showEvent(event);
    Sync();
}

std::uint64_t HistoryWidget::NumberOf(const QTreeWidgetItem& item) {
    return item.data(kNumberColumn, Qt::UserRole).toULongLong();
}

QTreeWidgetItem* HistoryWidget::ItemOf(std::uint64_t number) const {
    for (int row = 0; row < topLevelItemCount(); ++row) {
        if (NumberOf(*topLevelItem(row)) == number) {
            return topLevelItem(row);
        }
    }
    return nullptr;
}

QString HistoryWidget::CellsText(const tools::HistoryEntry& entry) {
    const map::CellRect& cells = entry.delta.Touched();
    if (cells.IsUnset()) {
        return QStringLiteral("\u2014");
    }
    QString text = QStringLiteral("%1, %2").arg(cells.x0).arg(cells.z0);
    if (cells.x1 != cells.x0 || cells.z1 != cells.z0) {
        text += QStringLiteral(" \u2013 %1, %2").arg(cells.x1).arg(cells.z1);
    }
    return text;
}

void HistoryWidget::Fill(QTreeWidgetItem& item, const tools::HistoryEntry& entry) {
    item.setData(kNumberColumn, Qt::UserRole, QVariant::fromValue<qulonglong>(entry.number));
    item.setText(kNumberColumn, QString::number(entry.number));
    item.setTextAlignment(kNumberColumn, Qt::AlignRight | Qt::AlignVCenter);
    item.setText(kNameColumn, QString::fromStdString(entry.name));
    item.setText(kCellsColumn, CellsText(entry));
    const auto seconds = tools::EditHistory::Clock::to_time_t(entry.time);
    item.setText(kTimeColumn, QDateTime::fromSecsSinceEpoch(seconds).toString("HH:mm:ss"));
}

void HistoryWidget::Sync() {
    // A hidden list catches up when it shows again.
    if (!isVisible()) {
        return;
    }
    if (doc_ == nullptr) {
        clear();
        return;
    }
    const auto& entries = doc_->history().Entries();
    while (topLevelItemCount() > 0 &&
           (entries.empty() || NumberOf(*topLevelItem(0)) < entries.front().number)) {
        delete takeTopLevelItem(0);
    }
    // Anything else out of step (a new or reopened map starts over) is listed afresh.
    const auto rows = static_cast<std::size_t>(topLevelItemCount());
    if (rows > entries.size() ||
        (rows > 0 &&
         (NumberOf(*topLevelItem(0)) != entries.front().number ||
          NumberOf(*topLevelItem(static_cast<int>(rows) - 1)) != entries[rows - 1].number))) {
        clear();
    }
    const std::size_t kept = static_cast<std::size_t>(topLevelItemCount());
    // The last row may have grown (a stroke goes on); the rows after it are new.
    for (std::size_t i = kept > 0 ? kept - 1 : 0; i < entries.size(); ++i) {
        QTreeWidgetItem* item =
            i < kept ? topLevelItem(static_cast<int>(i)) : new QTreeWidgetItem(this);
        Fill(*item, entries[i]);
    }
    if (topLevelItemCount() > static_cast<int>(kept)) {
        scrollToItem(topLevelItem(topLevelItemCount() - 1));
    }
}

}  // namespace zandrel::app
