#pragma once

#include <QDialog>
#include <QPointer>
#include <vector>

#include "tools/MapFinding.h"

class QLabel;
class QTableWidget;

namespace zandrel::document {
class CzandrelEditorDoc;
}

namespace zandrel::app {

class CMainFrame;

// "Verifica mappa": a window beside the editor listing what makes the active map unfit for the
// game, one row per finding (severity, what is wrong, the cell). It follows the active map
// window and re-checks that map whenever its document tells its views of a change, so the list
// never shows a fixed problem. Double-clicking a finding with a cell selects that cell in the
// active 3D view, as a click on it would, and centres the orbit there.
class MapCheckDialog : public QDialog {
    Q_OBJECT

public:
    enum Column { kSeverityColumn, kMessageColumn, kCellColumn, kColumnCount };

    explicit MapCheckDialog(CMainFrame& frame);

    // The main window's list, made on first use, shown, checked now and brought to the front.
    static MapCheckDialog* ShowFor(CMainFrame& frame);

    // The map the list is about; null while no map is open.
    const document::CzandrelEditorDoc* Document() const;
    const std::vector<tools::MapFinding>& Findings() const { return findings_; }
    QTableWidget* Table() const { return table_; }

    // Selects row's cell in the active 3D view and centres the orbit on it. False for a row
    // without a cell, or when no window of the listed map is active.
    bool GoToFinding(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Takes up the map of the active window, leaving the one before.
    void FollowActiveWindow();
    // Checks the map again; the rows are rebuilt only when the findings differ, so a view's
    // own notifications (every mouse move of a drag) keep the current row.
    void Refresh();
    void ShowFindings();

    CMainFrame& frame_;
    QPointer<document::CzandrelEditorDoc> doc_;
    QMetaObject::Connection docChanged_;
    QMetaObject::Connection docGone_;
    std::vector<tools::MapFinding> findings_;
    QLabel* summary_;
    QTableWidget* table_;
};

}  // namespace zandrel::app
