#include "view3d/CzandrelEditorView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QVariant>
#include <QWheelEvent>
#include <algorithm>
#include <iostream>

#include "app/CzandrelEditorDoc.h"
#include "map/MapGrid.h"
#include "tools/HeightSampling.h"
#include "view3d/EnemyModel.h"
#include "view3d/GlutRuntime.h"
#include "view3d/MapRenderer.h"
#include "view3d/TextureLoader.h"

namespace zandrel::view3d {

namespace {

constexpr double kFieldOfView = 55.0;
constexpr double kNearPlane = 0.5;
constexpr double kFarPlane = 150.0;

// Dynamic properties of the document naming the GL share group its texture names belong to.
constexpr char kMapTexturesKey[] = "zandrelMapTextureGroup";
constexpr char kEnemyTexturesKey[] = "zandrelEnemyTextureGroup";

// Multiplies the camera's look-at transform onto the current matrix.
void Look(const tools::Camera& camera) {
    gluLookAt(camera.eye[0], camera.eye[1], camera.eye[2], camera.target[0], camera.target[1],
              camera.target[2], camera.up[0], camera.up[1], camera.up[2]);
}

}  // namespace

void CzandrelEditorView::PrepareApplication() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

CzandrelEditorView::CzandrelEditorView(app::CzandrelEditorDoc* doc, QWidget* parent)
    : QOpenGLWidget(parent), doc_(doc) {
    setObjectName("CzandrelEditorView");
    setFocusPolicy(Qt::StrongFocus);
    // Every movement over the view redraws it and tells the other views, buttons held or not.
    setMouseTracking(true);
    // The right button applies tools and orbits; no menu of this view or a parent may pop up.
    setContextMenuPolicy(Qt::PreventContextMenu);
    if (doc_ != nullptr) {
        connect(doc_, &app::CzandrelEditorDoc::viewsNeedUpdate, this,
                &CzandrelEditorView::OnUpdate);
    }
}

// Texture objects are the document's and shared with its other views, so closing one view
// deletes none of them.
CzandrelEditorView::~CzandrelEditorView() = default;

void CzandrelEditorView::ReportFailure(const char* message) {
    if (failureShown_) {
        return;
    }
    failureShown_ = true;
    QMessageBox::critical(this, QStringLiteral("zandrelEditor"), QString::fromLatin1(message));
}

bool CzandrelEditorView::ClaimTextures(const char* key) {
    QOpenGLContextGroup* const group = context()->shareGroup();
    QObject* const groupObject = group;
    if (doc_->property(key).value<QObject*>() == groupObject) {
        return true;
    }
    doc_->setProperty(key, QVariant::fromValue(groupObject));
    // A group that is gone took its texture names with it; forget it before its address can
    // be reused by a new one.
    connect(group, &QObject::destroyed, doc_, [doc = doc_, key, groupObject] {
        if (doc->property(key).value<QObject*>() == groupObject) {
            doc->setProperty(key, QVariant());
        }
    });
    return false;
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

    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_DEPTH_TEST);
    // Qt binds its framebuffer with its own viewport before every paint.
    glViewport(0, 0, viewWidth_, viewHeight_);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    if (!texturesLoaded_) {
        TextureLoader::LoadMapTextures(grid, std::cout, ClaimTextures(kMapTexturesKey));
        LoadEnemyTextures();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        texturesLoaded_ = true;
    }

    // The camera goes onto the projection matrix, leaving the model-view matrix the identity
    // for the map pass; picking replays the pass under this same projection.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = viewHeight_ != 0 ? static_cast<double>(viewWidth_) / viewHeight_ : 1.0;
    gluPerspective(kFieldOfView, aspect, kNearPlane, kFarPlane);
    Look(session_.navigator().camera);
    frame_.viewport = {0, 0, viewWidth_, viewHeight_};
    glGetDoublev(GL_PROJECTION_MATRIX, frame_.projection.data());
    frame_.valid = viewWidth_ > 0 && viewHeight_ > 0;

    MapRenderer::Draw(grid, renderMode_);
    DrawEnemies();
    DrawAxesAndStart();
    glFlush();
}

void CzandrelEditorView::LoadEnemyTextures() {
    const map::MapGrid& grid = doc_->mapGrid();
    // Any of the 50 slots may name the markers' file, also one above numtex: a shorter list
    // after a rebuild keeps the names behind it. Only an index outside the table names none,
    // and the markers then draw untextured.
    const bool inList = grid.Enemys_Tex >= 0 && grid.Enemys_Tex < map::kMaxTextureSlots;
    const std::string fileName =
        inList ? std::string(grid.textures[grid.Enemys_Tex].View()) : std::string();
    const bool deleteReplaced = ClaimTextures(kEnemyTexturesKey);
    for (EnemyModel& model : doc_->enemyModels()) {
        const std::uint32_t replaced = model.texture;
        if (inList) {
            model.LoadTexture(fileName);
        } else {
            model.texture = 0;
        }
        if (deleteReplaced) {
            TextureLoader::Delete(replaced);
        }
    }
}

void CzandrelEditorView::DrawEnemies() {
    const map::MapGrid& grid = doc_->mapGrid();
    auto& models = doc_->enemyModels();
    for (std::size_t i = 0; i < models.size() && i < grid.enemies.size(); ++i) {
        const map::EnemySlot& slot = grid.enemies[i];
        // Slots are kept as read from the file, so one may name a cell outside the map.
        if (slot.x0 == -1 || !grid.InMap(slot.x0, slot.z0)) {
            continue;
        }
        models[i].Place(static_cast<float>(slot.x0),
                        static_cast<float>(grid.Cell(slot.x0, slot.z0).C),
                        static_cast<float>(slot.z0));
        glPushMatrix();
        glLoadIdentity();
        models[i].Draw(renderMode_);
        glPopMatrix();
    }
}

void CzandrelEditorView::DrawAxesAndStart() {
    const map::MapGrid& grid = doc_->mapGrid();
    glDisable(GL_TEXTURE_2D);
    glColor3f(0.0f, 1.0f, 0.0f);
    const float axes[3][6] = {{0.0f, 0.0f, -100.0f, 0.0f, 0.0f, 100.0f},
                              {-100.0f, 0.0f, 0.0f, 100.0f, 0.0f, 0.0f},
                              {0.0f, -100.0f, 0.0f, 0.0f, 100.0f, 0.0f}};
    for (const auto& axis : axes) {
        glBegin(GL_LINES);
        glVertex3f(axis[0], axis[1], axis[2]);
        glVertex3f(axis[3], axis[4], axis[5]);
        glEnd();
    }
    // Drawn even with no start placed: the sampler then gives the outside height and the
    // marker lies far below the terrain.
    const float x = static_cast<float>(grid.start.x0) + 0.5f;
    const float z = static_cast<float>(grid.start.z0) + 0.5f;
    const double h = tools::sampleHeight(grid, x, z);
    glBegin(GL_LINES);
    glVertex3f(x, static_cast<float>(h - 3.0), z);
    glVertex3f(x, static_cast<float>(h + 3.0), z);
    glEnd();
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

void CzandrelEditorView::OnViewSolid() {
    renderMode_ = RENDER_SOLID;
    RedrawNow();
}

void CzandrelEditorView::OnViewWireframe() {
    renderMode_ = RENDER_WIREFRAME;
    RedrawNow();
}

void CzandrelEditorView::ReloadMapTextures() {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return;
    }
    TextureLoader::LoadMapTextures(doc_->mapGrid(), std::cout, ClaimTextures(kMapTexturesKey));
}

void CzandrelEditorView::ReloadEnemyTextures() {
    if (doc_ == nullptr || !usable_ || !MakeCurrent()) {
        return;
    }
    LoadEnemyTextures();
}

void CzandrelEditorView::OnUpdate(QObject* sender) {
    if (sender != this) {
        update();
    }
}

void CzandrelEditorView::Apply(const tools::EditOutcome& outcome) {
    if (outcome.redraw) {
        RedrawNow();
    }
    if (outcome.mapChanged) {
        doc_->SetModified(true);
    }
    if (outcome.notifyViews) {
        doc_->UpdateAllViews(this);
    }
}

bool CzandrelEditorView::UpdateCommand(int id, app::CommandState& state) {
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
    mouseInput_.OnMouseMove(ViewMouseInput::KeyState(event->buttons(), event->modifiers()),
                            event->position().toPoint());
    event->accept();
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
