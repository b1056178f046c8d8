#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QTreeWidget>
#include <cstdint>

namespace zandrel::document {
class CzandrelEditorDoc;
}
namespace zandrel::tools {
struct HistoryEntry;
}
namespace zandrel::view3d {
class CzandrelEditorView;
}

namespace zandrel::app {

class CChildFrame;

// "Cronologia": the active map's edits, oldest first, with the command, the cells it changed
// and the time. A double-click returns the map to its state just after that entry through the
// window's 3D view, as one new edit that the list then shows last.
class HistoryWidget : public QTreeWidget {
    Q_OBJECT

public:
    enum Column { kNumberColumn, kNameColumn, kCellsColumn, kTimeColumn, kColumnCount };

    explicit HistoryWidget(QWidget* parent = nullptr);

    // Lists frame's map from now on; null lists nothing.
    void Follow(CChildFrame* frame);
    const document::CzandrelEditorDoc* Document() const;
    // The row of entry number, or null when the list does not hold it.
    QTreeWidgetItem* ItemOf(std::uint64_t number) const;

    // The cells column's text: "3, 4", "3, 4 – 7, 9", or a dash for none.
    static QString CellsText(const tools::HistoryEntry& entry);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Brings the rows in line with the history: a stroke changes only the last row, a new
    // entry adds one and the limit takes the first, so a long list is not rebuilt.
    void Sync();
    static void Fill(QTreeWidgetItem& item, const tools::HistoryEntry& entry);
    static std::uint64_t NumberOf(const QTreeWidgetItem& item);

    QPointer<document::CzandrelEditorDoc> doc_;
    QPointer<view3d::CzandrelEditorView> view_;
    QMetaObject::Connection changed_;
};

}  // namespace zandrel::app
