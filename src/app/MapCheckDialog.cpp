#include "app/MapCheckDialog.h"

#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/MapCheckTexts.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/MapCheck.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace {

bool SameFinding(const tools::MapFinding& a, const tools::MapFinding& b) {
    return a.code == b.code && a.severity == b.severity && a.cell == b.cell &&
           a.message == b.message;
}

// Texture files are looked for beside the map's file, then in the working directory, as the
// views load them; an untitled map has only the working directory.
tools::TextureLookup TextureFilesOf(const document::CzandrelEditorDoc& doc) {
    std::vector<std::filesystem::path> folders;
    if (!doc.PathName().isEmpty()) {
        const QByteArray folder = QFile::encodeName(QFileInfo(doc.PathName()).absolutePath());
        folders.emplace_back(folder.toStdString());
    }
    folders.emplace_back(".");
    return tools::TextureFilesIn(std::move(folders));
}

QTableWidgetItem* Item(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace

MapCheckDialog::MapCheckDialog(CMainFrame& frame)
    : QDialog(&frame),
      frame_(frame),
      summary_(new QLabel(this)),
      table_(new QTableWidget(0, kColumnCount, this)) {
    setObjectName(QStringLiteral("mapCheckDialog"));
    setWindowTitle(QStringLiteral("Verifica mappa"));
    setModal(false);
    resize(560, 320);

    table_->setObjectName(QStringLiteral("mapCheckFindings"));
    table_->setHorizontalHeaderLabels(
        {QStringLiteral("Tipo"), QStringLiteral("Problema"), QStringLiteral("Cella")});
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(kMessageColumn, QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionResizeMode(kSeverityColumn,
                                                     QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kCellColumn, QHeaderView::ResizeToContents);
    summary_->setObjectName(QStringLiteral("mapCheckSummary"));
    summary_->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(table_);

    connect(table_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int /*column*/) { GoToFinding(row); });
    // Queued: the window may be half destroyed while the activation is announced.
    connect(frame_.MdiArea(), &QMdiArea::subWindowActivated, this,
            &MapCheckDialog::FollowActiveWindow, Qt::QueuedConnection);
}

MapCheckDialog* MapCheckDialog::ShowFor(CMainFrame& frame) {
    auto* dialog = frame.findChild<MapCheckDialog*>(QString(), Qt::FindDirectChildrenOnly);
    if (dialog == nullptr) {
        dialog = new MapCheckDialog(frame);
    }
    if (dialog->isVisible()) {
        dialog->FollowActiveWindow();
    } else {
        dialog->show();
    }
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

const document::CzandrelEditorDoc* MapCheckDialog::Document() const {
    return doc_;
}

void MapCheckDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FollowActiveWindow();
}

void MapCheckDialog::FollowActiveWindow() {
    // A closed list follows nothing; it catches up when it shows again.
    if (!isVisible()) {
        return;
    }
    const CChildFrame* active = frame_.ActiveFrame();
    document::CzandrelEditorDoc* doc = active != nullptr ? active->GetDocument() : nullptr;
    if (doc != doc_) {
        disconnect(docChanged_);
        disconnect(docGone_);
        doc_ = doc;
        if (doc_ != nullptr) {
            docChanged_ = connect(doc_, &document::CzandrelEditorDoc::viewsNeedUpdate, this,
                                  &MapCheckDialog::Refresh);
            docGone_ = connect(doc_, &QObject::destroyed, this, &MapCheckDialog::FollowActiveWindow,
                               Qt::QueuedConnection);
        }
    }
    Refresh();
}

void MapCheckDialog::Refresh() {
    if (!isVisible()) {
        return;
    }
    std::vector<tools::MapFinding> findings;
    if (doc_ != nullptr) {
        findings = tools::CheckMap(doc_->mapGrid(), TextureFilesOf(*doc_));
    }
    const bool same = std::ranges::equal(findings, findings_, SameFinding);
    findings_ = std::move(findings);
    if (!same || table_->rowCount() != static_cast<int>(findings_.size())) {
        ShowFindings();
    }
    if (doc_ == nullptr) {
        summary_->setText(NoMapText());
        return;
    }
    const auto errors = std::ranges::count_if(findings_, [](const tools::MapFinding& each) {
        return each.severity == tools::FindingSeverity::Error;
    });
    const auto warnings = static_cast<std::ptrdiff_t>(findings_.size()) - errors;
    summary_->setText(SummaryText(static_cast<int>(errors), static_cast<int>(warnings)));
}

void MapCheckDialog::ShowFindings() {
    table_->setRowCount(0);
    table_->setRowCount(static_cast<int>(findings_.size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        const tools::MapFinding& finding = findings_[static_cast<std::size_t>(row)];
        table_->setItem(row, kSeverityColumn, Item(SeverityText(finding.severity)));
        QTableWidgetItem* message = Item(FindingText(finding.code));
        // The details (which slot, which name, where outside) are in the check's own words.
        message->setToolTip(QString::fromStdString(finding.message));
        table_->setItem(row, kMessageColumn, message);
        table_->setItem(row, kCellColumn, Item(CellText(finding)));
    }
}

bool MapCheckDialog::GoToFinding(int row) {
    if (row < 0 || row >= static_cast<int>(findings_.size()) || doc_ == nullptr) {
        return false;
    }
    const std::optional<tools::CellIndex> cell = findings_[static_cast<std::size_t>(row)].cell;
    CChildFrame* active = frame_.ActiveFrame();
    if (!cell || active == nullptr || active->GetDocument() != doc_ ||
        !doc_->mapGrid().InMap(cell->x, cell->z)) {
        return false;
    }
    view3d::CzandrelEditorView* view = active->View();
    // The same state a click on the cell leaves once the button is up. The view draws first,
    // since the panel reads the selection that frame stores, then the other views hear of it.
    doc_->Change(
        [view, at = *cell](tools::DocumentState& /*state*/) {
            view->session().SelectCells(at.x, at.z, at.x, at.z);
            view->navigator().FocusOn(at.x, at.z, at.x, at.z);
            view->RedrawNow();
            return tools::EditOutcome{.redraw = true, .notifyViews = true};
        },
        view);
    return true;
}

}  // namespace zandrel::app
