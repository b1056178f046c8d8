#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "document/CommandTarget.h"
#include "tools/EditSession.h"
#include "view3d/EditHost.h"
#include "view3d/MapPassBatches.h"
#include "view3d/MapPicker.h"
#include "view3d/RenderMode.h"
#include "view3d/ViewCommands.h"
#include "view3d/ViewModes.h"
#include "view3d/ViewMouseInput.h"

namespace zandrel::document {
class CzandrelEditorDoc;
enum class TextureKind;
}  // namespace zandrel::document

class QOpenGLContext;
class QWindow;

namespace zandrel::view3d {

class ViewSurface;

// The 3D pane of a map window: draws the document's map with its own GL context into its own
// native window (ViewSurface, embedded as a child), loads the map's textures on its first draw, and
// answers which cell lies under a window point. The mouse selects and shapes the terrain and steers
// the camera (ViewMouseInput); the tool, placement and edit commands of the map menus come here
// first (ViewCommands). Every edit reaches the document through its one entry point; drawing only
// reads the map, apart from storing the selection before each frame, which goal toggling, paste,
// merge and the panel read.
class CzandrelEditorView : public QWidget, public document::CommandTarget, private EditHost {
    Q_OBJECT

public:
    // Call before the QApplication exists: gives all views one share group (one texture
    // namespace; every view has a context of its own) and keeps the renderer's per-frame heap.
    static void PrepareApplication();

    explicit CzandrelEditorView(document::CzandrelEditorDoc* doc, QWidget* parent = nullptr);
    ~CzandrelEditorView() override;

    document::CzandrelEditorDoc* GetDocument() const { return doc_; }

    // Draws a frame now and shows it, before returning, instead of scheduling a repaint.
    void RedrawNow();
    // The picture the view shows now, at its size in device pixels; a null image when the view
    // cannot draw (no context, or a zero size).
    QImage GrabImage();
    // Makes this view's context current; false (after telling the user) when that fails.
    bool MakeCurrent();
    // The view's GL context, made on first use; nullptr when there is none to be had.
    QOpenGLContext* context();
    // A frame drawn now into a framebuffer of the view's size, read back.
    QImage grabFramebuffer();
    // The native window the view draws into; its input arrives at this widget.
    QWindow* Surface() const;
    // The last frame's map pass: rows it rebuilt, pieces of rows it left out, its draw calls.
    const MapPassBatches& Pass() const { return pass_; }

    // Cell name z * 100 + x of the nearest tile or wall under point (widget coordinates), or
    // -1 over empty space or before the first draw.
    std::int32_t Pick(const QPoint& point) override;
    // Cell name of the terrain under point by a ray through the camera, without drawing: where
    // the pointer hovers, for the status bar. -1 off the terrain. The selection still comes
    // from Pick.
    std::int32_t CellUnderPointer(const QPoint& point) const;

    // The display mode commands "Solid" and "WireFrame".
    void SetRenderMode(view3d::RenderMode mode);
    view3d::RenderMode Mode() const { return renderMode_; }
    // The relief, overlay and tint modes of the solid view ("Vi&sta"); a view starts with the
    // ones last chosen in any view, and a change is remembered for the next.
    void SetViewModes(const ViewModes& modes);
    const ViewModes& Modes() const { return viewModes_; }

    // Reloads, in this view's context, the textures of every slot (and the two fixed ones),
    // or only the enemy markers' texture; the texture objects they replace are deleted.
    void ReloadMapTextures();
    void ReloadEnemyTextures();
    bool TexturesLoaded() const { return texturesLoaded_; }
    // The enemy markers' texture object in this view's context group; 0 before the first draw.
    std::uint32_t EnemyTexture();

    // The view's editing state and rules, shared with the command-line script.
    tools::EditSession& session() { return session_; }
    const tools::EditSession& session() const { return session_; }
    const tools::MapSelection& selection() const { return session_.selection(); }
    tools::MapSelection& selection() { return session_.selection(); }
    tools::OrbitNavigator& navigator() { return session_.navigator(); }
    const tools::OrbitNavigator& navigator() const { return session_.navigator(); }
    tools::ToolState& toolState() { return session_.toolState(); }
    const tools::ToolState& toolState() const { return session_.toolState(); }
    ViewMouseInput& mouseInput() { return mouseInput_; }
    ViewCommands& commands() { return commands_; }
    std::int32_t ViewWidth() const { return viewWidth_; }
    std::int32_t ViewHeight() const { return viewHeight_; }

    // The map back to its state just after history entry number, as one edit of this view
    // (Annulla then gives back the heights from before it, as after a paste).
    void ReturnToEntry(std::uint64_t number);
    // Where a brush stroke takes its texture from: the window's panel and its current entry.
    void SetBrushSlotSource(std::function<std::int32_t()> source) {
        brushSlotSource_ = std::move(source);
    }

    // The "F&unzioni" and "&Modifica" commands, answered by commands().
    bool UpdateCommand(int id, document::CommandState& state) override;
    bool ExecuteCommand(int id) override;

signals:
    // After every mouse move over the view: the cell under the pointer (CellUnderPointer).
    void pointerOverCell(std::int32_t cell);

public slots:
    // Another window changed the document: re-read it and redraw.
    void OnUpdate(QObject* sender);
    // The document asks for new texture objects of kind; once per context group.
    void OnTexturesNeedReload(document::TextureKind kind, std::uint64_t generation);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // EditHost: what the mouse input and the commands work with.
    const tools::EditSession& Session() const override { return session_; }
    const document::CzandrelEditorDoc& Document() const override { return *doc_; }
    void Edit(const SessionEdit& edit) override;
    QSize LogicalSize() const override { return size(); }
    std::int32_t BrushSlot() const override { return brushSlotSource_ ? brushSlotSource_() : -1; }

    // With the context current, once: whether it can draw at all.
    void InitializeGl();
    void DrawFrame();
    void OnDraw();
    void DrawEnemies(std::uint32_t texture);
    void DrawAxesAndStart();
    // Shows a context failure once: a box per frame would pile up with every repaint.
    void ReportFailure(const char* message);

    document::CzandrelEditorDoc* doc_;
    view3d::RenderMode renderMode_ = view3d::RenderMode::Solid;
    ViewModes viewModes_;
    bool texturesLoaded_ = false;
    bool usable_ = false;
    bool failureShown_ = false;
    std::int32_t viewWidth_ = 0;
    std::int32_t viewHeight_ = 0;
    tools::EditSession session_;
    ViewMouseInput mouseInput_{*this};
    ViewCommands commands_{*this};
    FrameTransform frame_;
    MapPicker picker_;
    MapPassBatches pass_;
    // Owned by its container widget, a child of this view.
    ViewSurface* surface_ = nullptr;
    std::function<std::int32_t()> brushSlotSource_;
};

}  // namespace zandrel::view3d
