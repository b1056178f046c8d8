#pragma once

#include <QScrollArea>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QSlider;

namespace zandrel::document {
class CzandrelEditorDoc;
}
namespace zandrel::map {
class MapGrid;
}

namespace zandrel::panel {

// The attribute panel on the left of a map window: gravity and friction of the selected cells,
// the names of their tile and wall textures, the map's texture list and the buttons that apply
// a texture to the selection or to the enemies. It reads and writes the cells of the selection
// the 3D view last stored in the map; every rule about them lives in tools::PanelAttributes and
// tools::TextureArchive. Widgets are refreshed with their signals blocked, so showing a value
// never writes one.
class CzandrelEditorFormView : public QScrollArea {
    Q_OBJECT

public:
    static constexpr int kWidth = 200;

    // The document must be complete (new or loaded): the panel shows its texture table at once.
    explicit CzandrelEditorFormView(document::CzandrelEditorDoc* doc, QWidget* parent = nullptr);

    document::CzandrelEditorDoc* GetDocument() const { return doc_; }

    QSize sizeHint() const override;
    // The form's size in pixels at the panel's font.
    QSize FormSize() const;
    // The texture list's current entry, which is a texture slot; -1 while none is chosen.
    int CurrentTextureEntry() const;

public slots:
    // Another view changed the document: show the selection's common values again. Sliders
    // move only to a common value; a field without one is emptied.
    void OnUpdate(QObject* sender);

    // The buttons. Without a stored selection "Applica", "Tile" and "Wall" change nothing.
    void OnApply();
    void OnRefreshTextures();
    void OnApplyTile();
    void OnApplyWall();
    void OnApplyEnemy();

private:
    // Fills the list from the map's texture table and resets the sliders and fields to the
    // map's defaults, as a freshly opened window shows them.
    void OnInitialUpdate();
    void OnFrictionDraw(int position);
    void OnGravityDraw(int position);

    // The list shows the map's texture table, entry i being slot i; refilled only when the
    // table changed, keeping the current entry if it still exists.
    void SyncTextureList();
    void ShowTextureList(const std::vector<std::string>& names, int current);
    void ShowCommonValue(int value, QSlider* slider, QLineEdit* field);
    void ShowTextureName(int slot, QLineEdit* field);
    bool HasStoredSelection() const;
    // "Tile" and "Wall": the current list entry to the stored selection through apply.
    void ApplyToSelection(void (*apply)(map::MapGrid&, std::int32_t), std::string_view name);
    // Changes the map through the document; sender nullptr refreshes this panel too. name is
    // the button's, for the history.
    template <typename Change>
    void Edit(Change&& change, QObject* sender, std::string_view name);

    document::CzandrelEditorDoc* doc_;
    QWidget* form_;
    QComboBox* textureList_;
    QSlider* frictionSlider_;
    QSlider* gravitySlider_;
    QLineEdit* frictionValue_;
    QLineEdit* gravityValue_;
    QLineEdit* tileName_;
    QLineEdit* wallName_;
};

}  // namespace zandrel::panel
