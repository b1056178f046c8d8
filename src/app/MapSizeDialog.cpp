#include "app/MapSizeDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/CChildFrame.h"
#include "app/UserPrompts.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/EditNames.h"
#include "tools/MapResize.h"
#include "view3d/CzandrelEditorView.h"

namespace zandrel::app {

namespace {

using tools::ResizeAnchor;

struct AnchorButton {
    ResizeAnchor anchor;
    const char* caption;
    int row;
    int column;
};

// North up; x grows to the west, so the west (O) column is on the left as on any compass.
constexpr std::array<AnchorButton, 9> kAnchorButtons = {{
    {ResizeAnchor::NorthWest, "NO", 0, 0},
    {ResizeAnchor::North, "N", 0, 1},
    {ResizeAnchor::NorthEast, "NE", 0, 2},
    {ResizeAnchor::West, "O", 1, 0},
    {ResizeAnchor::Centre, "Centro", 1, 1},
    {ResizeAnchor::East, "E", 1, 2},
    {ResizeAnchor::SouthWest, "SO", 2, 0},
    {ResizeAnchor::South, "S", 2, 1},
    {ResizeAnchor::SouthEast, "SE", 2, 2},
}};

QSpinBox* SideBox(const char* name, std::int32_t value, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(tools::kMinMapSize, map::kMaxMapSize);
    box->setValue(value);
    return box;
}

}  // namespace

MapSizeDialog::MapSizeDialog(std::int32_t sizeX, std::int32_t sizeZ, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("mapSizeDialog"));
    setWindowTitle(QStringLiteral("Dimensioni mappa"));
    sizeX_ = SideBox("sizeX", sizeX, this);
    sizeZ_ = SideBox("sizeZ", sizeZ, this);
    auto* sides = new QFormLayout;
    sides->addRow(QStringLiteral("Celle in &X (SizeX):"), sizeX_);
    sides->addRow(QStringLiteral("Celle in &Z (SizeZ):"), sizeZ_);

    auto* anchorBox = new QGroupBox(QStringLiteral("Celle che restano ferme"), this);
    auto* grid = new QGridLayout(anchorBox);
    for (std::size_t i = 0; i < kAnchorButtons.size(); ++i) {
        const AnchorButton& entry = kAnchorButtons[i];
        auto* button = new QRadioButton(QString::fromLatin1(entry.caption), anchorBox);
        button->setObjectName(QStringLiteral("anchor_") +
                              QString::fromLatin1(tools::AnchorName(entry.anchor).data()));
        button->setChecked(entry.anchor == ResizeAnchor::NorthEast);
        grid->addWidget(button, entry.row, entry.column);
        anchors_[i] = button;
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(sides);
    layout->addWidget(anchorBox);
    layout->addWidget(buttons);
}

MapSizeChoice MapSizeDialog::Choice() const {
    MapSizeChoice choice{sizeX_->value(), sizeZ_->value(), ResizeAnchor::NorthEast};
    for (std::size_t i = 0; i < anchors_.size(); ++i) {
        if (anchors_[i]->isChecked()) {
            choice.anchor = kAnchorButtons[i].anchor;
        }
    }
    return choice;
}

bool MapSizeDialog::ResizeActiveMap(CChildFrame& frame, UserPrompts& prompts, QWidget* parent) {
    document::CzandrelEditorDoc* doc = frame.GetDocument();
    const map::MapGrid& grid = doc->mapGrid();
    const std::optional<MapSizeChoice> choice = prompts.AskMapSize(parent, grid.SizeX, grid.SizeZ);
    if (!choice) {
        return false;
    }
    tools::MapSelection& selection = frame.View()->selection();
    doc->Change(
        [&](tools::DocumentState& state) {
            const bool resized =
                tools::ResizeMap(state, selection, choice->sizeX, choice->sizeZ, choice->anchor)
                    .ok();
            return tools::EditOutcome{resized, resized};
        },
        nullptr, tools::kMapSizeName);
    return true;
}

}  // namespace zandrel::app
