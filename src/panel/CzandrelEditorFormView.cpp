#include "panel/CzandrelEditorFormView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <algorithm>

#include "document/CzandrelEditorDoc.h"
#include "panel/DialogUnits.h"
#include "panel/FormTemplate.h"
#include "tools/EditNames.h"
#include "tools/PanelAttributes.h"
#include "tools/TextureArchive.h"

namespace zandrel::panel {

namespace {

// A new map's gravity and friction, where the sliders start.
constexpr int kStartGravity = -160;
constexpr int kStartFriction = 7;

template <typename Widget>
Widget* Control(QWidget* form, const char* name) {
    return form->findChild<Widget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

// A slider's ticks: at every position when the template asks for automatic ticks, else only
// at the two ends.
void SetRangeAndTicks(QSlider* slider, int id, int minimum, int maximum) {
    const FormControl* entry = FormTemplate::Find(id);
    slider->setRange(minimum, maximum);
    slider->setTickInterval(entry != nullptr && entry->autoTicks ? 1 : maximum - minimum);
}

}  // namespace

CzandrelEditorFormView::CzandrelEditorFormView(document::CzandrelEditorDoc* doc, QWidget* parent)
    : QScrollArea(parent), doc_(doc), form_(new QWidget) {
    setObjectName(QStringLiteral("formView"));
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);

    form_->setObjectName(QStringLiteral("form"));
    form_->setFont(FormTemplate::Font());
    const DialogUnits units(form_->font());
    FormTemplate::Build(*form_, units);
    form_->setFixedSize(units.ToPixels(FormTemplate::SizeInUnits()));
    setWidget(form_);

    textureList_ = Control<QComboBox>(form_, "textureList");
    frictionSlider_ = Control<QSlider>(form_, "frictionSlider");
    gravitySlider_ = Control<QSlider>(form_, "gravitySlider");
    frictionValue_ = Control<QLineEdit>(form_, "frictionValue");
    gravityValue_ = Control<QLineEdit>(form_, "gravityValue");
    tileName_ = Control<QLineEdit>(form_, "tileName");
    wallName_ = Control<QLineEdit>(form_, "wallName");
    setFocusProxy(textureList_);

    const auto onClick = [this](const char* name, void (CzandrelEditorFormView::*handler)()) {
        connect(Control<QPushButton>(form_, name), &QPushButton::clicked, this, handler);
    };
    onClick("applyButton", &CzandrelEditorFormView::OnApply);
    onClick("refreshTexturesButton", &CzandrelEditorFormView::OnRefreshTextures);
    onClick("applyTileButton", &CzandrelEditorFormView::OnApplyTile);
    onClick("applyWallButton", &CzandrelEditorFormView::OnApplyWall);
    onClick("applyEnemyButton", &CzandrelEditorFormView::OnApplyEnemy);
    connect(frictionSlider_, &QSlider::valueChanged, this, &CzandrelEditorFormView::OnFrictionDraw);
    connect(gravitySlider_, &QSlider::valueChanged, this, &CzandrelEditorFormView::OnGravityDraw);

    if (doc_ != nullptr) {
        connect(doc_, &document::CzandrelEditorDoc::viewsNeedUpdate, this,
                &CzandrelEditorFormView::OnUpdate);
    }
    OnInitialUpdate();
}

QSize CzandrelEditorFormView::FormSize() const {
    return form_->size();
}

int CzandrelEditorFormView::CurrentTextureEntry() const {
    return textureList_->currentIndex();
}

QSize CzandrelEditorFormView::sizeHint() const {
    return QSize(kWidth, FormSize().height());
}

void CzandrelEditorFormView::OnInitialUpdate() {
    const QSignalBlocker blockFriction(frictionSlider_);
    const QSignalBlocker blockGravity(gravitySlider_);
    if (doc_ != nullptr) {
        tools::AdoptTextureTable(doc_->mapGrid());
    }
    SyncTextureList();
    SetRangeAndTicks(gravitySlider_, control::kGravitySlider, tools::kGravityMin,
                     tools::kGravityMax);
    SetRangeAndTicks(frictionSlider_, control::kFrictionSlider, tools::kFrictionMin,
                     tools::kFrictionMax);
    gravitySlider_->setValue(kStartGravity);
    frictionSlider_->setValue(kStartFriction);
    gravityValue_->setText(QString::number(gravitySlider_->value()));
    frictionValue_->setText(QString::number(frictionSlider_->value()));
    tileName_->clear();
    wallName_->clear();
}

void CzandrelEditorFormView::OnUpdate(QObject* sender) {
    if (sender == this || doc_ == nullptr) {
        return;
    }
    const map::MapGrid& grid = doc_->mapGrid();
    SyncTextureList();
    ShowCommonValue(tools::CommonGravity(grid), gravitySlider_, gravityValue_);
    ShowCommonValue(tools::CommonFriction(grid), frictionSlider_, frictionValue_);
    ShowTextureName(tools::CommonWallType(grid), wallName_);
    ShowTextureName(tools::CommonTileType(grid), tileName_);
}

void CzandrelEditorFormView::ShowCommonValue(int value, QSlider* slider, QLineEdit* field) {
    if (value == tools::kNoCommonValue) {
        field->clear();
        return;
    }
    // A value beyond the range leaves the slider at its nearer end; the field shows the value.
    const QSignalBlocker block(slider);
    slider->setValue(value);
    field->setText(QString::number(value));
}

void CzandrelEditorFormView::ShowTextureName(int slot, QLineEdit* field) {
    const map::MapGrid& grid = doc_->mapGrid();
    // A slot past the table names no image, whatever stale name its storage still holds.
    if (slot < 0 || slot >= std::min(grid.numtex, map::kMaxTextureSlots)) {
        field->clear();
        return;
    }
    const std::string_view name = grid.textures[static_cast<std::size_t>(slot)].View();
    field->setText(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void CzandrelEditorFormView::SyncTextureList() {
    if (doc_ == nullptr) {
        return;
    }
    const std::vector<std::string> names = tools::TextureTableList(doc_->mapGrid());
    bool same = textureList_->count() == static_cast<int>(names.size());
    for (int i = 0; same && i < textureList_->count(); ++i) {
        const QByteArray shown = textureList_->itemData(i).toByteArray();
        same = std::string_view(shown.constData(), static_cast<std::size_t>(shown.size())) ==
               names[static_cast<std::size_t>(i)];
    }
    if (!same) {
        const int current = textureList_->currentIndex();
        ShowTextureList(names, current < static_cast<int>(names.size()) ? current : -1);
    }
}

void CzandrelEditorFormView::ShowTextureList(const std::vector<std::string>& names, int current) {
    const QSignalBlocker block(textureList_);
    textureList_->clear();
    for (const std::string& name : names) {
        // The bytes stay with the entry: they are what the map stores, whatever the text shows.
        const QByteArray bytes(name.data(), static_cast<qsizetype>(name.size()));
        textureList_->addItem(QString::fromUtf8(bytes), bytes);
    }
    // The list opens with no entry chosen; the texture buttons do nothing until one is.
    textureList_->setCurrentIndex(current);
}

void CzandrelEditorFormView::OnFrictionDraw(int position) {
    frictionValue_->setText(QString::number(position));
}

void CzandrelEditorFormView::OnGravityDraw(int position) {
    gravityValue_->setText(QString::number(position));
}

bool CzandrelEditorFormView::HasStoredSelection() const {
    return doc_ != nullptr && doc_->mapGrid().selection.x0 >= 0;
}

template <typename Change>
void CzandrelEditorFormView::Edit(Change&& change, QObject* sender, std::string_view name) {
    doc_->Change(
        [&change](tools::DocumentState& state) {
            change(state.mapGrid);
            return tools::EditOutcome{false, true};
        },
        sender, name);
}

void CzandrelEditorFormView::OnApply() {
    if (!HasStoredSelection()) {
        return;
    }
    const int gravity = gravitySlider_->value();
    const int friction = frictionSlider_->value();
    Edit([=](map::MapGrid& grid) { tools::ApplyAttributes(grid, gravity, friction); }, nullptr,
         tools::kApplyName);
}

void CzandrelEditorFormView::OnRefreshTextures() {
    if (doc_ == nullptr) {
        return;
    }
    std::vector<std::string> files;
    // An unreadable directory would leave only the three fixed names and wipe the table.
    if (!tools::ListDirectoryFiles(".", files).ok()) {
        return;
    }
    std::vector<std::string> list;
    // Other windows of the map show the list too; their entries must name the new slots.
    Edit([&](map::MapGrid& grid) { list = tools::RefreshTextureArchive(grid, files); }, this,
         tools::kRefreshTexturesName);
    ShowTextureList(list, -1);
    doc_->ReloadTextures(document::TextureKind::Map);
}

void CzandrelEditorFormView::OnApplyTile() {
    ApplyToSelection(&tools::ApplyTileTexture, tools::kTileName);
}

void CzandrelEditorFormView::OnApplyWall() {
    ApplyToSelection(&tools::ApplyWallTexture, tools::kWallName);
}

void CzandrelEditorFormView::ApplyToSelection(void (*apply)(map::MapGrid&, std::int32_t),
                                              std::string_view name) {
    if (!HasStoredSelection()) {
        return;
    }
    const int entry = textureList_->currentIndex();
    if (entry < 0) {
        Edit([](map::MapGrid& /*grid*/) {}, this, name);
        return;
    }
    Edit([apply, entry](map::MapGrid& grid) { apply(grid, entry); }, nullptr, name);
}

void CzandrelEditorFormView::OnApplyEnemy() {
    if (doc_ == nullptr) {
        return;
    }
    const int entry = textureList_->currentIndex();
    Edit([entry](map::MapGrid& grid) { tools::ApplyEnemyTexture(grid, entry); },
         entry >= 0 ? nullptr : this, tools::kEnemyTextureName);
    // Reloaded even when no entry is chosen, so the markers always show the slot's image.
    doc_->ReloadTextures(document::TextureKind::Enemy);
}

}  // namespace zandrel::panel
