#pragma once

#include <QOpenGLWidget>
#include <QPoint>
#include <cstdint>

#include "app/CommandTarget.h"
#include "tools/EditSession.h"
#include "view3d/MapPicker.h"
#include "view3d/ViewCommands.h"
#include "view3d/ViewMouseInput.h"

namespace zandrel::app {
class CzandrelEditorDoc;
}

namespace zandrel::view3d {

// The 3D pane of a map window: draws the document's map with its own GL context, loads the
// map's textures on its first draw, and answers which cell lies under a window point. The mouse
// selects and shapes the terrain and steers the camera (ViewMouseInput); the tool, placement
// and edit commands of the map menus come here first (ViewCommands).
class CzandrelEditorView : public QOpenGLWidget, public app::CommandTarget {
    Q_OBJECT

public:
    static constexpr std::int32_t RENDER_WIREFRAME = 1;
    static constexpr std::int32_t RENDER_SOLID = 3;
    static constexpr int kViewSolidCommand = 130;
    static constexpr int kViewWireframeCommand = 131;

    // Call before the QApplication exists to give all views one texture namespace. Views in
    // one top-level window share anyway; views in separate windows otherwise would not, and
    // would draw each other's texture names of a shared document.
    static void PrepareApplication();

    explicit CzandrelEditorView(app::CzandrelEditorDoc* doc, QWidget* parent = nullptr);
    ~CzandrelEditorView() override;

    app::CzandrelEditorDoc* GetDocument() const { return doc_; }

    // Draws a frame now, before returning, instead of scheduling a repaint.
    void RedrawNow();
    // Makes this view's context current; false (after telling the user) when that fails.
    bool MakeCurrent();

    // Cell name z * 100 + x of the nearest tile or wall under point (widget coordinates), or
    // -1 over empty space or before the first draw.
    std::int32_t Pick(const QPoint& point);

    // Commands 130 and 131 and what their check marks show.
    void OnViewSolid();
    void OnViewWireframe();
    bool IsSolid() const { return renderMode_ == RENDER_SOLID; }
    bool IsWireframe() const { return renderMode_ == RENDER_WIREFRAME; }
    std::int32_t RenderMode() const { return renderMode_; }

    // Reloads, in this view's context, the textures of every slot (and the two fixed ones),
    // or only the enemy markers' texture; the texture objects they replace are deleted.
    void ReloadMapTextures();
    void ReloadEnemyTextures();
    bool TexturesLoaded() const { return texturesLoaded_; }

    // The view's editing state and rules, shared with the command-line script.
    tools::EditSession& session() { return session_; }
    const tools::EditSession& session() const { return session_; }
    const tools::MapSelection& selection() const { return session_.selection(); }
    tools::MapSelection& selection() { return session_.selection(); }
    tools::OrbitNavigator& navigator() { return session_.navigator(); }
    const tools::OrbitNavigator& navigator() const { return session_.navigator(); }
    tools::ToolState& toolState() { return session_.toolState(); }
    const tools::ToolState& toolState() const { return session_.toolState(); }
    // What an edit or mouse event did, shown: a redraw now, the modified flag when the map
    // changed, and the other windows of the map told.
    void Apply(const tools::EditOutcome& outcome);
    ViewMouseInput& mouseInput() { return mouseInput_; }
    ViewCommands& commands() { return commands_; }
    std::int32_t ViewWidth() const { return viewWidth_; }
    std::int32_t ViewHeight() const { return viewHeight_; }

    // The "F&unzioni" and "&Modifica" commands, answered by commands().
    bool UpdateCommand(int id, app::CommandState& state) override;
    bool ExecuteCommand(int id) override;

public slots:
    // Another window changed the document: re-read it and redraw.
    void OnUpdate(QObject* sender);

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void DrawFrame();
    void OnDraw();
    void LoadEnemyTextures();
    void DrawEnemies();
    void DrawAxesAndStart();
    // Shows a context failure once: a box per frame would pile up with every repaint.
    void ReportFailure(const char* message);
    // The document's texture names belong to the share group of the view that loaded them.
    // Records this view's group as their owner under key, and tells whether it already was,
    // that is whether the names about to be replaced may be deleted from this context.
    bool ClaimTextures(const char* key);

    app::CzandrelEditorDoc* doc_;
    std::int32_t renderMode_ = RENDER_SOLID;
    bool texturesLoaded_ = false;
    bool usable_ = false;
    bool failureShown_ = false;
    std::uint64_t paintCount_ = 0;
    std::int32_t viewWidth_ = 0;
    std::int32_t viewHeight_ = 0;
    tools::EditSession session_;
    ViewMouseInput mouseInput_{*this};
    ViewCommands commands_{*this};
    FrameTransform frame_;
    MapPicker picker_;
};

}  // namespace zandrel::view3d
