#include "view3d/CzandrelEditorView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>
#include <algorithm>
#include <iostream>

#include "document/CzandrelEditorDoc.h"
#include "map/MapGrid.h"
#include "tools/CellRay.h"
#include "tools/HeightSampling.h"
#include "view3d/EnemyMarker.h"
#include "view3d/GlutRuntime.h"
#include "view3d/MapRenderer.h"
#include "view3d/MapScene.h"
#include "view3d/TextureSet.h"

namespace zandrel::view3d {

void CzandrelEditorView::PrepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

CzandrelEditorView::CzandrelEditorView(document::CzandrelEditorDoc* doc, QWidget* parent)
    : QOpenGLWidget(parent), doc_(doc) {
    setObjectName("CzandrelEditorView");
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
    if (!isValid()) {
        return false;
    }
    makeCurrent();
    if (QOpenGLContext::currentContext() != context()) {
        ReportFailure("GlMakeCurrent Error");
        return false;
    }
    return true;
}

void CzandrelEditorView::initializeGL() {
    QOpenGLContext* const ctx = context();
    if (ctx == nullptr || !ctx->isValid()) {
        ReportFailure("OpenGL contest fail");
        return;
    }
    const QSurfaceFormat format = ctx->format();
    // Immediate mode and GL_SELECT need desktop GL without the core profile.
    if (ctx->isOpenGLES() ||
        (format.profile() == QSurfaceFormat::CoreProfile && format.majorVersion() >= 3 &&
         !format.testOption(QSurfaceFormat::DeprecatedFunctions))) {
        ReportFailure("ChoosePixelFormat failed");
        return;
    }
    usable_ = true;
    GlutRuntime::EnsureInitialised();
}

void CzandrelEditorView::resizeGL(int width, int height) {
    const qreal ratio = devicePixelRatioF();
    viewWidth_ = static_cast<std::int32_t>(width * ratio);
    viewHeight_ = static_cast<std::int32_t>(height * ratio);
    if (!usable_) {
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glViewport(0, 0, viewWidth_, viewHeight_);
    glMatrixMode(GL_MODELVIEW);
}

void CzandrelEditorView::paintGL() {
    ++paintCount_;
    DrawFrame();
}

void CzandrelEditorView::DrawFrame() {
    // A view drawn before it was ever shown (grabbed while hidden) gets no resize first.
    const qreal ratio = devicePixelRatioF();
    if (viewWidth_ != static_cast<std::int32_t>(width() * ratio) ||
        viewHeight_ != static_cast<std::int32_t>(height() * ratio)) {
        resizeGL(width(), height());
    }
    if (usable_ && doc_ != nullptr) {
        OnDraw();
    }
}

void CzandrelEditorView::OnDraw() {
    map::MapGrid& grid = doc_->mapGrid();
    session_.StoreSelection(grid);

    // Qt binds its framebuffer with its own viewport before every paint.
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

    MapRenderer::Draw(grid, renderMode_);
    DrawEnemies(textures.EnemyTexture());
    DrawAxesAndStart();
    glFlush();
}

void CzandrelEditorView::DrawEnemies(std::uint32_t texture) {
    MapScene::DrawEnemies(doc_->mapGrid(), texture, renderMode_);
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
    const std::uint64_t before = paintCount_;
    repaint();
    // Qt defers repaint() while the window still waits for its previous frame; picking and
    // the callers' next steps need this frame's matrices now, so draw it directly then. The
    // deferred paint still follows and shows the same model.
    if (paintCount_ == before && usable_ && isVisible() && MakeCurrent()) {
        DrawFrame();
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
        update();
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
        QOpenGLWidget::mousePressEvent(event);
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
        QOpenGLWidget::mouseReleaseEvent(event);
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
        QOpenGLWidget::mouseMoveEvent(event);
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
        QOpenGLWidget::wheelEvent(event);
        return;
    }
    const auto zDelta = static_cast<std::int16_t>(std::clamp(delta, -32768, 32767));
    mouseInput_.OnMouseWheel(ViewMouseInput::KeyState(event->buttons(), event->modifiers()), zDelta,
                             event->position().toPoint());
    event->accept();
}

void CzandrelEditorView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_A) {
        session_.navigator().camera.RotateView(0.1f, 0.0f, 1.0f, 0.0f);
    } else if (event->key() == Qt::Key_S) {
        session_.navigator().camera.RotateView(-0.1f, 0.0f, 1.0f, 0.0f);
    }
    RedrawNow();
    QOpenGLWidget::keyPressEvent(event);
}

}  // namespace zandrel::view3d
