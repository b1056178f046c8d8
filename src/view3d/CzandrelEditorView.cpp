#include "view3d/CzandrelEditorView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <algorithm>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <iostream>

#include "document/CzandrelEditorDoc.h"
#include "map/MapGrid.h"
#include "tools/CellRay.h"
#include "tools/HeightSampling.h"
#include "view3d/EnemyMarker.h"
#include "view3d/GlutRuntime.h"
#include "view3d/MapOverlays.h"
#include "view3d/MapRenderer.h"
#include "view3d/MapScene.h"
#include "view3d/TextureSet.h"
#include "view3d/ViewModesSettings.h"
#include "view3d/ViewSurface.h"

namespace zandrel::view3d {

void CzandrelEditorView::PrepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // A view's native GL window makes its ancestors native, which keeps overlapping map windows
    // stacked and clipped right. Their siblings (menu bar, toolbar, status bar, panel, splitter
    // handles, scroll bars) need no window of their own: each costs the display a window and
    // the first frame its creation, mapping and exposure.
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
#ifdef __GLIBC__
    // Mesa's software renderer allocates and frees some 30 MB of vertex buffers while it
    // replays the map pass. With the default trim threshold glibc hands that memory back to
    // the system after every frame and takes it again, page by page, in the next one: about
    // 3,000 page faults and 10 ms of the main thread per frame at 1280 x 1024. Keep it.
    constexpr int kKeptHeap = 256 * 1024 * 1024;
    mallopt(M_TRIM_THRESHOLD, kKeptHeap);
#endif
}

CzandrelEditorView::CzandrelEditorView(document::CzandrelEditorDoc* doc, QWidget* parent)
    : QWidget(parent), doc_(doc), viewModes_(ViewModesSettings::Load()) {
    setObjectName("CzandrelEditorView");
    surface_ = new ViewSurface(this, {[this] { InitializeGl(); }, [this] { DrawFrame(); }});
    QWidget* const container = QWidget::createWindowContainer(surface_, this);
    // The view itself keeps the keyboard focus: keys and the main window's shortcuts then take
    // the widgets' usual path, and the panes switch focus between two widgets.
    container->setFocusPolicy(Qt::NoFocus);
    container->setContextMenuPolicy(Qt::PreventContextMenu);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(container);
    setFocusPolicy(Qt::StrongFocus);
    // Every movement over the view redraws it and tells the other views, buttons held or not.
    setMouseTracking(true);
    // The right button applies tools and orbits; no menu of this view or a parent may pop up.
    setContextMenuPolicy(Qt::PreventContextMenu);
    if (doc_ != nullptr) {
        connect(doc_, &document::CzandrelEditorDoc::viewsNeedUpdate, this,
                &CzandrelEditorView::OnUpdate);
        connect(doc_, &document::CzandrelEditorDoc::texturesNeedReload, this,
                &CzandrelEditorView::OnTexturesNeedReload);
    }
}

// Texture objects belong to the document's texture set of the context group, shared with its
// other views, so closing one view deletes none of them.
CzandrelEditorView::~CzandrelEditorView() = default;

void CzandrelEditorView::ReportFailure(const char* message) {
    if (failureShown_) {
        return;
    }
    failureShown_ = true;
    QMessageBox::critical(this, QStringLiteral("zandrelEditor"), QString::fromLatin1(message));
}

bool CzandrelEditorView::MakeCurrent() {
    if (surface_->MakeCurrent()) {
        return true;
    }
    ReportFailure(surface_->Failure() != nullptr ? surface_->Failure() : "GlMakeCurrent Error");
    return false;
}

QOpenGLContext* CzandrelEditorView::context() {
    return MakeCurrent() ? surface_->Context() : nullptr;
}

QWindow* CzandrelEditorView::Surface() const {
    return surface_;
}

QImage CzandrelEditorView::grabFramebuffer() {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(static_cast<int>(width() * ratio), static_cast<int>(height() * ratio));
    QImage image = surface_->Grab(pixels);
    if (image.isNull() && surface_->Failure() != nullptr) {
        ReportFailure(surface_->Failure());
    }
    return image;
}

void CzandrelEditorView::InitializeGl() {
    usable_ = true;
}

void CzandrelEditorView::DrawFrame() {
    const qreal ratio = devicePixelRatioF();
    viewWidth_ = static_cast<std::int32_t>(width() * ratio);
    viewHeight_ = static_cast<std::int32_t>(height() * ratio);
    if (usable_ && doc_ != nullptr) {
        OnDraw();
    }
}

void CzandrelEditorView::OnDraw() {
    map::MapGrid& grid = doc_->mapGrid();
    session_.StoreSelection(grid);

    // The same context draws into the window and into grabbed framebuffers of other sizes.
    MapScene::BeginFrame(viewWidth_, viewHeight_);

    TextureSet& textures = TextureSet::OfCurrentGroup(doc_);
    if (!texturesLoaded_) {
        textures.LoadMapTextures(grid, std::cout);
        textures.LoadEnemyTexture(grid);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        texturesLoaded_ = true;
    }

    // Picking replays the map pass under this same projection.
    MapScene::LoadProjection(session_.navigator().camera, viewWidth_, viewHeight_);
    frame_.viewport = {0, 0, viewWidth_, viewHeight_};
    glGetDoublev(GL_PROJECTION_MATRIX, frame_.projection.data());
    frame_.valid = viewWidth_ > 0 && viewHeight_ > 0;

    // Wireframe draws the plain lines whatever the modes.
    const ViewModes modes = renderMode_ == RenderMode::Solid ? viewModes_ : ViewModes{};
    MapOverlays::Begin(modes, session_.navigator().camera);
    const ViewVolume volume(frame_.projection);
    pass_.Draw(grid, renderMode_, PassStyle::For(grid, modes), frame_.valid ? &volume : nullptr);
    MapOverlays::End(modes);
    DrawEnemies(textures.EnemyTexture());
    DrawAxesAndStart();
    glFlush();
}

void CzandrelEditorView::DrawEnemies(std::uint32_t texture) {
    MapScene::DrawEnemies(doc_->mapGrid(), texture, renderMode_, &GlutRuntime::WireSphere);
}

void CzandrelEditorView::DrawAxesAndStart() {
    MapScene::DrawAxesAndStart(doc_->mapGrid());
}

QImage CzandrelEditorView::GrabImage() {
    if (width() <= 0 || height() <= 0) {
        return {};
    }
    return grabFramebuffer();
}

void CzandrelEditorView::RedrawNow() {
    // Picking and the callers' next steps need this frame's matrices and stored selection now.
    if (isVisible()) {
        surface_->Render();
        if (surface_->Failure() != nullptr) {
            ReportFailure(surface_->Failure());
        }
    }
}

std::int32_t CzandrelEditorView::Pick(const QPoint& point) {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return -1;
    }
    const qreal ratio = devicePixelRatioF();
    return picker_.Pick(doc_->mapGrid(), point.x() * ratio, point.y() * ratio, renderMode_, frame_);
}

void CzandrelEditorView::SetRenderMode(view3d::RenderMode mode) {
    renderMode_ = mode;
    RedrawNow();
}

void CzandrelEditorView::SetViewModes(const ViewModes& modes) {
    viewModes_ = modes;
    ViewModesSettings::Save(modes);
    RedrawNow();
}

void CzandrelEditorView::ReloadMapTextures() {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return;
    }
    TextureSet::OfCurrentGroup(doc_).LoadMapTextures(doc_->mapGrid(), std::cout);
}

void CzandrelEditorView::ReloadEnemyTextures() {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return;
    }
    TextureSet::OfCurrentGroup(doc_).LoadEnemyTexture(doc_->mapGrid());
}

std::uint32_t CzandrelEditorView::EnemyTexture() {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return 0;
    }
    return TextureSet::OfCurrentGroup(doc_).EnemyTexture();
}

void CzandrelEditorView::OnTexturesNeedReload(document::TextureKind kind,
                                              std::uint64_t generation) {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return;
    }
    TextureSet& textures = TextureSet::OfCurrentGroup(doc_);
    if (textures.LoadedGeneration() >= generation) {
        return;
    }
    textures.SetLoadedGeneration(generation);
    if (kind == document::TextureKind::Map) {
        textures.LoadMapTextures(doc_->mapGrid(), std::cout);
    } else {
        textures.LoadEnemyTexture(doc_->mapGrid());
    }
}

void CzandrelEditorView::OnUpdate(QObject* sender) {
    if (sender != this) {
        surface_->requestUpdate();
    }
}

void CzandrelEditorView::Edit(const SessionEdit& edit) {
    doc_->Change(
        [this, &edit](tools::DocumentState& state) {
            const tools::EditOutcome outcome = edit(session_, state);
            // Drawn before the other views hear of it: the panel reads the selection this
            // frame stores.
            if (outcome.redraw) {
                RedrawNow();
            }
            return outcome;
        },
        this);
}

void CzandrelEditorView::ReturnToEntry(std::uint64_t number) {
    if (doc_ == nullptr) {
        return;
    }
    const tools::EditHistory& history = doc_->history();
    Edit([&history, number](tools::EditSession& session, tools::DocumentState& state) {
        return session.ReturnTo(history, number, state);
    });
}

bool CzandrelEditorView::UpdateCommand(int id, document::CommandState& state) {
    return doc_ != nullptr && commands_.UpdateCommand(id, state);
}

bool CzandrelEditorView::ExecuteCommand(int id) {
    return doc_ != nullptr && commands_.ExecuteCommand(id);
}

// The handlers want the key-state word of the message: the buttons held after the change
// (a press includes its own button, a release no longer does) and Shift and Ctrl.
void CzandrelEditorView::mousePressEvent(QMouseEvent* event) {
    if (doc_ == nullptr) {
        QWidget::mousePressEvent(event);
        return;
    }
    const std::uint32_t flags = ViewMouseInput::KeyState(event->buttons(), event->modifiers());
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        mouseInput_.OnLButtonDown(flags, point);
    } else if (event->button() == Qt::RightButton) {
        mouseInput_.OnRButtonDown(flags, point);
    }
    event->accept();
}

void CzandrelEditorView::mouseReleaseEvent(QMouseEvent* event) {
    if (doc_ == nullptr) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const std::uint32_t flags = ViewMouseInput::KeyState(event->buttons(), event->modifiers());
    const QPoint point = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        mouseInput_.OnLButtonUp(flags, point);
    } else if (event->button() == Qt::RightButton) {
        mouseInput_.OnRButtonUp(flags, point);
    }
    event->accept();
}

void CzandrelEditorView::mouseMoveEvent(QMouseEvent* event) {
    if (doc_ == nullptr) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    mouseInput_.OnMouseMove(ViewMouseInput::KeyState(event->buttons(), event->modifiers()), point);
    emit pointerOverCell(CellUnderPointer(point));
    event->accept();
}

std::int32_t CzandrelEditorView::CellUnderPointer(const QPoint& point) const {
    if (doc_ == nullptr) {
        return -1;
    }
    const tools::Ray ray = tools::RayThroughPoint(session_.navigator().camera, point.x(), point.y(),
                                                  width(), height());
    return tools::CellHitByRay(doc_->mapGrid(), ray);
}

void CzandrelEditorView::wheelEvent(QWheelEvent* event) {
    // A sideways turn is another message altogether and applies nothing. Qt's X11 backend
    // reports the ordinary wheel as sideways while Alt is held; that turn still counts.
    const QPoint angle = event->angleDelta();
    const int delta =
        event->modifiers().testFlag(Qt::AltModifier) && angle.y() == 0 ? angle.x() : angle.y();
    if (doc_ == nullptr || delta == 0) {
        QWidget::wheelEvent(event);
        return;
    }
    const auto zDelta = static_cast<std::int16_t>(std::clamp(delta, -32768, 32767));
    mouseInput_.OnMouseWheel(ViewMouseInput::KeyState(event->buttons(), event->modifiers()), zDelta,
                             event->position().toPoint());
    event->accept();
}

void CzandrelEditorView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && doc_ != nullptr) {
        Edit([](tools::EditSession& session, tools::DocumentState& /*doc*/) {
            return session.StopBrush();
        });
    } else if (event->key() == Qt::Key_A) {
        session_.navigator().camera.RotateView(0.1f, 0.0f, 1.0f, 0.0f);
    } else if (event->key() == Qt::Key_S) {
        session_.navigator().camera.RotateView(-0.1f, 0.0f, 1.0f, 0.0f);
    }
    RedrawNow();
    QWidget::keyPressEvent(event);
}

}  // namespace zandrel::view3d
