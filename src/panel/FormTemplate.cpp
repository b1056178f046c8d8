#include "panel/FormTemplate.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStringList>
#include <algorithm>
#include <array>
#include <vector>

#include "panel/DialogUnits.h"

namespace zandrel::panel {

namespace {

using control::kNone;

constexpr std::array<FormControl, 19> kControls{{
    {kNone, ControlKind::GroupBox, "Textures", {7, 1, 110, 136}, "texturesGroup", false},
    {kNone, ControlKind::StaticText, "Gravit\u00e0", {58, 181, 24, 8}, "gravityLabel", false},
    {control::kApply, ControlKind::PushButton, "Applica", {45, 213, 43, 16}, "applyButton", false},
    {control::kGravitySlider, ControlKind::Trackbar, "", {33, 189, 80, 24}, "gravitySlider", false},
    {control::kFrictionSlider,
     ControlKind::Trackbar,
     "",
     {25, 154, 86, 25},
     "frictionSlider",
     true},
    {kNone, ControlKind::StaticText, "Artrito", {61, 145, 19, 8}, "frictionLabel", false},
    {kNone, ControlKind::GroupBox, "Attributi", {7, 138, 110, 99}, "attributesGroup", false},
    {control::kTextureList, ControlKind::ComboBox, "", {13, 13, 96, 15}, "textureList", false},
    {control::kApplyWall,
     ControlKind::PushButton,
     "Wall",
     {58, 58, 33, 13},
     "applyWallButton",
     false},
    {control::kApplyEnemy,
     ControlKind::PushButton,
     "Enemy",
     {41, 75, 32, 12},
     "applyEnemyButton",
     false},
    {control::kFrictionValue,
     ControlKind::ReadOnlyEdit,
     "",
     {10, 159, 14, 15},
     "frictionValue",
     false},
    {control::kGravityValue,
     ControlKind::ReadOnlyEdit,
     "",
     {10, 194, 23, 14},
     "gravityValue",
     false},
    {control::kApplyTile,
     ControlKind::PushButton,
     "Tile",
     {22, 57, 33, 14},
     "applyTileButton",
     false},
    {control::kRefreshTextures,
     ControlKind::PushButton,
     "Aggiorna Archivio Texture",
     {15, 31, 91, 14},
     "refreshTexturesButton",
     false},
    {kNone, ControlKind::GroupBox, "Applica a...", {19, 47, 79, 47}, "applyToGroup", false},
    {kNone, ControlKind::StaticText, "Tile", {14, 98, 12, 8}, "tileLabel", false},
    {control::kTileName, ControlKind::ReadOnlyEdit, "", {38, 98, 54, 11}, "tileName", false},
    {kNone, ControlKind::StaticText, "Wall", {14, 114, 15, 8}, "wallLabel", false},
    {control::kWallName, ControlKind::ReadOnlyEdit, "", {38, 114, 54, 11}, "wallName", false},
}};

QWidget* CreateWidget(const FormControl& entry, QWidget& form) {
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
        case ControlKind::GroupBox:
            return new QGroupBox(text, &form);
        case ControlKind::StaticText: {
            auto* label = new QLabel(text, &form);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setTextFormat(Qt::PlainText);
            return label;
        }
        case ControlKind::PushButton:
            return new QPushButton(text, &form);
        case ControlKind::Trackbar: {
            auto* slider = new QSlider(Qt::Horizontal, &form);
            slider->setTickPosition(QSlider::TicksBothSides);
            return slider;
        }
        case ControlKind::ComboBox:
            // A drop-down list: the user picks an entry but cannot type one.
            return new QComboBox(&form);
        case ControlKind::ReadOnlyEdit: {
            auto* edit = new QLineEdit(&form);
            edit->setReadOnly(true);
            edit->setFrame(true);
            return edit;
        }
    }
    return nullptr;
}

bool IsTabStop(ControlKind kind) {
    return kind != ControlKind::GroupBox && kind != ControlKind::StaticText;
}

}  // namespace

std::span<const FormControl> FormTemplate::Controls() {
    return kControls;
}

const FormControl* FormTemplate::Find(int id) {
    for (const FormControl& entry : kControls) {
        if (entry.id == id && id != kNone) {
            return &entry;
        }
    }
    return nullptr;
}

QFont FormTemplate::Font() {
    QFont font;
    // Narrow sans fonts first: the form was drawn for one, and a wide substitute would push it
    // past the width of its pane.
    font.setFamilies(QStringList{QStringLiteral("MS Sans Serif"),
                                 QStringLiteral("Microsoft Sans Serif"),
                                 QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                                 QStringLiteral("DejaVu Sans Condensed")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    return font;
}

void FormTemplate::Build(QWidget& form, const DialogUnits& units) {
    std::vector<QWidget*> frames;
    for (const FormControl& entry : kControls) {
        QWidget* widget = CreateWidget(entry, form);
        widget->setObjectName(QString::fromLatin1(entry.objectName));
        QRect geometry = units.ToPixels(entry.units);
        if (entry.kind == ControlKind::StaticText) {
            // The form was measured for another font; a substitute must not cut a label short.
            geometry.setWidth(std::max(geometry.width(), widget->sizeHint().width()));
        }
        widget->setGeometry(geometry);
        widget->setFocusPolicy(IsTabStop(entry.kind) ? Qt::StrongFocus : Qt::NoFocus);
        if (entry.id != kNone) {
            widget->setProperty("controlId", entry.id);
        }
        if (entry.kind == ControlKind::GroupBox) {
            widget->setAttribute(Qt::WA_TransparentForMouseEvents);
            frames.push_back(widget);
        }
    }
    for (QWidget* frame : frames) {
        frame->lower();
    }
}

}  // namespace zandrel::panel
