#include <GL/gl.h>

#include <QColor>
#include <QDir>
#include <QImage>
#include <QOpenGLContext>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <iostream>
#include <sstream>
#include <vector>

#include "app/EditorSurfaceFormat.h"
#include "document/CzandrelEditorDoc.h"
#include "map/MapGrid.h"
#include "view3d/CzandrelEditorView.h"
#include "view3d/EnemyMarker.h"
#include "view3d/MapPicker.h"
#include "view3d/MapRenderer.h"
#include "view3d/MapScene.h"
#include "view3d/TextureLoader.h"

using zandrel::document::CzandrelEditorDoc;
using zandrel::view3d::CzandrelEditorView;
using zandrel::view3d::TextureLoader;

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr float kEyeHeight = 8.0f;

// Swaps std::cout's buffer for the lifetime of the object.
class CoutCapture {
public:
    CoutCapture() : old_(std::cout.rdbuf(captured_.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old_); }
    std::string Text() const { return captured_.str(); }

private:
    std::ostringstream captured_;
    std::streambuf* old_;
};

// Looks straight down at (x, z): screen right is +x, screen down is +z.
void LookDownAt(CzandrelEditorView& view, float x, float z) {
    view.navigator().camera.Set(x, kEyeHeight, z, x, 0.0f, z, 0.0f, 0.0f, -1.0f);
}

// Window point over world (x, z) for LookDownAt(cx, cz): the 55 degree field spans the height.
QPoint PointOver(float cx, float cz, float x, float z) {
    const double pixelsPerUnit = kHeight / (2.0 * kEyeHeight * std::tan(27.5 * M_PI / 180.0));
    return QPoint(static_cast<int>(std::lround(kWidth / 2.0 + (x - cx) * pixelsPerUnit)),
                  static_cast<int>(std::lround(kHeight / 2.0 + (z - cz) * pixelsPerUnit)));
}

int CountPixels(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += (image.pixel(x, y) & 0xffffff) == (colour & 0xffffff) ? 1 : 0;
        }
    }
    return count;
}

bool Near(QColor actual, int r, int g, int b) {
    return std::abs(actual.red() - r) <= 2 && std::abs(actual.green() - g) <= 2 &&
           std::abs(actual.blue() - b) <= 2;
}

// Number of walls the map pass draws in wireframe, from the line segments it feeds back: every
// tile is four loops of three segments and every wall one loop of four. Needs a current context.
int CountWireframeWalls(const zandrel::map::MapGrid& grid) {
    std::vector<GLfloat> buffer(1 << 18);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    // Oblique and large enough that nothing is clipped.
    glOrtho(-300.0, 300.0, -300.0, 300.0, -300.0, 300.0);
    glRotatef(30.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(20.0f, 0.0f, 1.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    zandrel::view3d::MapRenderer::Draw(grid, zandrel::view3d::RenderMode::Wireframe);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    const GLint size = glRenderMode(GL_RENDER);
    if (size < 0) {
        return -1;
    }
    int segments = 0;
    for (GLint i = 0; i < size;) {
        const auto token = static_cast<GLint>(buffer[i]);
        if (token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN) {
            return -1;
        }
        ++segments;
        i += 7;
    }
    const int tileSegments = 12 * grid.SizeX * grid.SizeZ;
    return (segments - tileSegments) % 4 == 0 ? (segments - tileSegments) / 4 : -1;
}

// The frame a view would leave for picking with this camera. Needs a current context.
zandrel::view3d::FrameTransform FrameFor(const zandrel::tools::Camera& camera) {
    zandrel::view3d::FrameTransform frame;
    frame.viewport = {0, 0, kWidth, kHeight};
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    zandrel::view3d::MapScene::LoadProjection(camera, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glGetDoublev(GL_PROJECTION_MATRIX, frame.projection.data());
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    frame.valid = true;
    return frame;
}

// Rolling ground with cliffs: corners of one cell differ, and every fifth column and fourth
// row steps up or down against its neighbours, so that walls stand all over the map.
void Roughen(zandrel::map::MapGrid& grid) {
    for (int x = 0; x < grid.SizeX; ++x) {
        for (int z = 0; z < grid.SizeZ; ++z) {
            auto& cell = grid.Cell(x, z);
            const double base = 1.5 * std::sin(x * 0.4) + std::cos(z * 0.3) +
                                (x % 5 == 0 ? 2.5 : 0.0) - (z % 4 == 0 ? 1.75 : 0.0);
            cell.NE = base;
            cell.NO = base + 0.25 * (x % 3);
            cell.SE = base - 0.5 * (z % 2);
            cell.SO = base + 0.125 * ((x + z) % 4);
            cell.C = base + (x * z % 7 == 0 ? 3.0 : 0.5);
        }
    }
}
}  // namespace

class View3dTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        zandrel::app::UseEditorSurfaceFormat();
        CzandrelEditorView::PrepareApplication();
    }

private slots:
    void initTestCase() {
        // Texture names resolve against the working directory: start with none there.
        QVERIFY(dir_.isValid());
        QVERIFY(QDir::setCurrent(dir_.path()));
    }

    void init() {
        doc_ = std::make_unique<CzandrelEditorDoc>();
        QVERIFY(doc_->OnNewDocument());
        view_ = std::make_unique<CzandrelEditorView>(doc_.get());
        view_->resize(kWidth, kHeight);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
    }

    void cleanup() {
        view_.reset();
        doc_.reset();
    }

    void startsSolidAndSwitchesModes() {
        QCOMPARE(static_cast<int>(view_->Mode()), 3);
        view_->SetRenderMode(zandrel::view3d::RenderMode::Wireframe);
        QCOMPARE(static_cast<int>(view_->Mode()), 1);
        view_->SetRenderMode(zandrel::view3d::RenderMode::Solid);
        QCOMPARE(static_cast<int>(view_->Mode()), 3);
    }

    void firstDrawTracesEverySlotOnce() {
        auto view = std::make_unique<CzandrelEditorView>(doc_.get());
        view->resize(kWidth, kHeight);
        CoutCapture capture;
        view->grabFramebuffer();
        QCOMPARE(QString::fromStdString(capture.Text()),
                 QStringLiteral("Texture 0:tile.jpg\nTexture 1:wall.jpg\nTexture 2:enemy.jpg\n"));
        QVERIFY(view->TexturesLoaded());
        view->grabFramebuffer();
        QCOMPARE(QString::fromStdString(capture.Text()).count('\n'), 3);
    }

    void loadsImageWithMipmapsAndMissingFileGivesZero() {
        QImage image(64, 32, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 0));
        QVERIFY(image.save("red.jpg", "JPG"));
        view_->grabFramebuffer();
        QVERIFY(view_->MakeCurrent());
        const std::uint32_t name = TextureLoader::LoadMipmapped("red.jpg");
        QVERIFY(name != 0);
        GLint width = 0;
        GLint level1Width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1Width);
        QCOMPARE(width, 64);
        QCOMPARE(level1Width, 32);
        QCOMPARE(TextureLoader::LoadMipmapped("missing.jpg"), 0u);
        TextureLoader::Delete(name);
    }

    void tileTextureModulatesCellColour() {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 0));
        QVERIFY(image.save("redtile.jpg", "JPG"));
        QVERIFY(doc_->mapGrid().textures[0].Assign("redtile.jpg"));
        const std::uint32_t before = doc_->mapGrid().textureIds[0];
        {
            CoutCapture capture;
            view_->ReloadMapTextures();
            QVERIFY(QString::fromStdString(capture.Text()).startsWith("Texture 0:redtile.jpg\n"));
        }
        QVERIFY(doc_->mapGrid().textureIds[0] != before);
        view_->selection().setFromHits(0, 0);
        LookDownAt(*view_, 10.5f, 10.5f);
        const QColor centre = view_->grabFramebuffer().pixelColor(kWidth / 2, kHeight / 2);
        QVERIFY2(centre.red() > 200 && centre.green() < 60 && centre.blue() < 60,
                 qPrintable(centre.name()));
    }

    void tileTextureStartsOnTheWestEdge() {
        // Left half of the image red, right half blue.
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(QColor(255, 0, 0));
        for (int y = 0; y < 64; ++y) {
            for (int x = 32; x < 64; ++x) {
                image.setPixelColor(x, y, QColor(0, 0, 255));
            }
        }
        QVERIFY(image.save("halves.jpg", "JPG"));
        QVERIFY(doc_->mapGrid().textures[0].Assign("halves.jpg"));
        view_->ReloadMapTextures();
        view_->selection().setFromHits(0, 0);
        LookDownAt(*view_, 10.5f, 10.5f);
        const QImage frame = view_->grabFramebuffer();
        // s is 1 on the east edge (x) and 0 on the west edge (x + 1).
        const QColor nearEast = frame.pixelColor(PointOver(10.5f, 10.5f, 10.2f, 10.5f));
        const QColor nearWest = frame.pixelColor(PointOver(10.5f, 10.5f, 10.8f, 10.5f));
        QVERIFY2(nearEast.blue() > 200 && nearEast.red() < 60, qPrintable(nearEast.name()));
        QVERIFY2(nearWest.red() > 200 && nearWest.blue() < 60, qPrintable(nearWest.name()));
    }

    void cellColoursShowSelectionAndGoal() {
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        grid.Cell(10, 10).goal = 1;                  // selected goal
        grid.Cell(11, 10).goal = 1;                  // goal only
        view_->selection().setFromHits(1009, 1010);  // x 9..10, z 10
        LookDownAt(*view_, 10.0f, 10.5f);
        const QImage image = view_->grabFramebuffer();
        const auto at = [&](float x, float z) {
            return image.pixelColor(PointOver(10.0f, 10.5f, x, z));
        };
        QVERIFY(Near(at(9.3f, 10.3f), 102, 128, 179));   // selected (0.4, 0.5, 0.7)
        QVERIFY(Near(at(10.3f, 10.3f), 51, 77, 128));    // selected goal (0.2, 0.3, 0.5)
        QVERIFY(Near(at(11.3f, 10.3f), 204, 204, 204));  // goal (0.8, 0.8, 0.8)
        QVERIFY(Near(at(12.3f, 10.3f), 255, 255, 255));  // plain
    }

    void raisedSelectedCellShowsBlueWallsInWireframe() {
        view_->selection().setFromHits(1010, 1010);
        view_->SetRenderMode(zandrel::view3d::RenderMode::Wireframe);
        view_->navigator().camera.Set(10.5f, 6.0f, 16.0f, 10.5f, 0.0f, 10.5f, 0.0f, 1.0f, 0.0f);
        QCOMPARE(CountPixels(view_->grabFramebuffer(), qRgb(0, 0, 255)), 0);
        doc_->mapGrid().SetCellHeight(10, 10, 1.0);
        QVERIFY(CountPixels(view_->grabFramebuffer(), qRgb(0, 0, 255)) > 20);
    }

    void enemyMarkerDrawsOnlyOnAPlacedCellInTheMap() {
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        // Grey goal cells everywhere so the white marker stands out.
        for (int x = 0; x < grid.SizeX; ++x) {
            for (int z = 0; z < grid.SizeZ; ++z) {
                grid.Cell(x, z).goal = 1;
            }
        }
        view_->selection().setFromHits(0, 0);
        LookDownAt(*view_, 12.5f, 12.5f);
        const int whiteWithout = CountPixels(view_->grabFramebuffer(), qRgb(255, 255, 255));
        grid.enemies[1].Set(60, 12, 60, 12);  // outside the map: ignored
        QCOMPARE(CountPixels(view_->grabFramebuffer(), qRgb(255, 255, 255)), whiteWithout);
        grid.enemies[1].Set(12, 12, 12, 12);
        const int whiteWith = CountPixels(view_->grabFramebuffer(), qRgb(255, 255, 255));
        QVERIFY2(whiteWith > whiteWithout + 200, qPrintable(QString::number(whiteWith)));
        const auto centre = zandrel::view3d::EnemyMarker::CentreOf(grid, 1);
        QVERIFY(centre.has_value());
        QCOMPARE((*centre)[0], 12.5f);
        QCOMPARE((*centre)[1], 0.5f);
        QCOMPARE((*centre)[2], 12.5f);
    }

    void startCellIsWhiteInSolidAndMarkedByAGreenLine() {
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        grid.Cell(10, 10).goal = 1;
        grid.Cell(11, 10).goal = 1;
        view_->selection().setFromHits(0, 0);
        // Oblique, looking north-east at the cell; no axis is in sight.
        view_->navigator().camera.Set(13.0f, 4.0f, 14.0f, 10.5f, 0.0f, 10.5f, 0.0f, 1.0f, 0.0f);
        const int greenWithout = CountPixels(view_->grabFramebuffer(), qRgb(0, 255, 0));
        grid.start.Set(10, 10, 10, 10);
        const QImage image = view_->grabFramebuffer();
        QVERIFY(CountPixels(image, qRgb(0, 255, 0)) > greenWithout + 10);
        LookDownAt(*view_, 10.5f, 10.5f);
        const QImage top = view_->grabFramebuffer();
        QVERIFY(Near(top.pixelColor(PointOver(10.5f, 10.5f, 10.2f, 10.8f)), 255, 255, 255));
        QVERIFY(Near(top.pixelColor(PointOver(10.5f, 10.5f, 11.2f, 10.8f)), 204, 204, 204));
    }

    void wireframeEnemyMarkerIsDrawn() {
        view_->SetRenderMode(zandrel::view3d::RenderMode::Wireframe);
        LookDownAt(*view_, 12.5f, 12.5f);
        view_->selection().setFromHits(0, 0);
        const int whiteWithout = CountPixels(view_->grabFramebuffer(), qRgb(255, 255, 255));
        doc_->mapGrid().enemies[0].Set(12, 12, 12, 12);
        QVERIFY(CountPixels(view_->grabFramebuffer(), qRgb(255, 255, 255)) > whiteWithout + 50);
    }

    void textureSlotsOutsideTheTableDrawUntextured() {
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        grid.Cell(10, 10).typet = 77;
        grid.Cell(10, 10).typew = -4;
        grid.SetCellHeight(10, 10, 1.0);
        grid.Enemys_Tex = 60;
        view_->ReloadEnemyTextures();
        QCOMPARE(view_->EnemyTexture(), 0u);
        view_->selection().setFromHits(0, 0);
        LookDownAt(*view_, 10.5f, 10.5f);
        QVERIFY(Near(view_->grabFramebuffer().pixelColor(kWidth / 2, kHeight / 2), 255, 255, 255));
    }

    void enemyTextureSlotAboveTheListStillLoadsItsFile() {
        QImage image(32, 32, QImage::Format_RGB32);
        image.fill(QColor(0, 255, 0));
        QVERIFY(image.save("oldenemy.jpg", "JPG"));
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        QVERIFY(grid.textures[5].Assign("oldenemy.jpg"));
        grid.Enemys_Tex = 5;  // numtex stays 3
        view_->ReloadEnemyTextures();
        QVERIFY(view_->EnemyTexture() != 0);
        // A slot that never held a name loads nothing.
        grid.Enemys_Tex = 7;
        view_->ReloadEnemyTextures();
        QCOMPARE(view_->EnemyTexture(), 0u);
    }

    void wallsStandWhereNeighbouringEdgesDifferExactly() {
        view_->grabFramebuffer();
        QVERIFY(view_->MakeCurrent());
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        // A small block keeps the fed-back segments to the ones drawn: long immediate-mode
        // batches of line loops may come back with extra segments where the driver split them.
        grid.SizeX = 6;
        grid.SizeZ = 5;
        // Flat: only the block's outer edge, 6 + 6 + 5 + 5 cell sides, at zero height.
        QCOMPARE(CountWireframeWalls(grid), 22);
        grid.SetCellHeight(2, 2, 1.0);
        QCOMPARE(CountWireframeWalls(grid), 26);  // its own four; the neighbours draw none
        grid.SetCellHeight(2, 2, 0.0);
        // One corner apart by less than a float can hold: the doubles differ, so both cells on
        // each of the two edges consider a wall, and the equal single-precision averages make
        // both draw it.
        grid.Cell(3, 2).SO = 1e-300;
        QCOMPARE(CountWireframeWalls(grid), 26);
        // Apart by a float-sized step: only the higher cell draws each of the two walls.
        grid.Cell(3, 2).SO = 1e-3;
        QCOMPARE(CountWireframeWalls(grid), 24);
    }

    void secondViewSharesTheDocumentTextures() {
        QImage image(64, 64, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        QVERIFY(image.save("bluetile.jpg", "JPG"));
        QVERIFY(doc_->mapGrid().textures[0].Assign("bluetile.jpg"));
        view_->ReloadMapTextures();
        const std::uint32_t firstName = doc_->mapGrid().textureIds[0];
        CzandrelEditorView second(doc_.get());
        second.resize(kWidth, kHeight);
        second.show();
        QVERIFY(QTest::qWaitForWindowExposed(&second));
        QVERIFY(QOpenGLContext::areSharing(second.context(), view_->context()));
        // The second view's first draw replaced (and deleted) the first view's texture names.
        QVERIFY(view_->MakeCurrent());
        QVERIFY(doc_->mapGrid().textureIds[0] != firstName);
        QVERIFY(glIsTexture(firstName) == GL_FALSE);
        QVERIFY(glIsTexture(doc_->mapGrid().textureIds[0]) == GL_TRUE);
        view_->selection().setFromHits(0, 0);
        LookDownAt(*view_, 10.5f, 10.5f);
        const QColor centre = view_->grabFramebuffer().pixelColor(kWidth / 2, kHeight / 2);
        QVERIFY2(centre.blue() > 200 && centre.red() < 60, qPrintable(centre.name()));
    }

    void picksTheCellUnderThePoint() {
        LookDownAt(*view_, 7.5f, 12.5f);
        view_->grabFramebuffer();
        QCOMPARE(view_->Pick(QPoint(kWidth / 2, kHeight / 2)), 1207);
        QCOMPARE(view_->Pick(PointOver(7.5f, 12.5f, 9.5f, 11.5f)), 1109);
    }

    void pickWithCellCullingMatchesTheFullReplay() {
        auto& grid = doc_->mapGrid();
        Roughen(grid);
        // A height that is not a number keeps its cell (and its neighbours) in the replay.
        grid.Cell(20, 20).SO = std::nan("");
        QVERIFY(view_->MakeCurrent());
        struct Eye {
            const char* name;
            float eye[3];
            float target[3];
        };
        const Eye eyes[] = {
            {"above", {25.0f, 40.0f, 25.5f}, {25.0f, 0.0f, 25.0f}},
            {"oblique from outside", {-20.0f, 30.0f, -20.0f}, {25.0f, 0.0f, 25.0f}},
            {"low inside", {12.3f, 1.2f, 30.7f}, {40.0f, 0.5f, 10.0f}},
            {"low inside, looking down the cliffs", {30.5f, 2.0f, 5.5f}, {29.0f, -1.0f, 45.0f}},
            {"near the cell with no height", {19.0f, 4.0f, 17.0f}, {21.0f, 0.0f, 21.0f}},
        };
        zandrel::view3d::MapPicker culled;
        zandrel::view3d::MapPicker full;
        full.SetCellCulling(false);
        int hits = 0;
        for (const auto mode :
             {zandrel::view3d::RenderMode::Solid, zandrel::view3d::RenderMode::Wireframe}) {
            for (const Eye& eye : eyes) {
                zandrel::tools::Camera camera;
                camera.Set(eye.eye[0], eye.eye[1], eye.eye[2], eye.target[0], eye.target[1],
                           eye.target[2], 0.0f, 1.0f, 0.0f);
                const auto frame = FrameFor(camera);
                // An 8 x 5 lattice over the view, off the pixel centres.
                for (int i = 0; i < 8; ++i) {
                    for (int j = 0; j < 5; ++j) {
                        const double x = (i + 0.37) * kWidth / 8.0;
                        const double y = (j + 0.61) * kHeight / 5.0;
                        const std::int32_t expected = full.Pick(grid, x, y, mode, frame);
                        QVERIFY2(culled.Pick(grid, x, y, mode, frame) == expected,
                                 qPrintable(QString("%1 at %2,%3").arg(eye.name).arg(x).arg(y)));
                        hits += expected >= 0 ? 1 : 0;
                    }
                }
            }
        }
        // Most points land on the map, or the comparison proves little.
        QVERIFY2(hits > 200, qPrintable(QString::number(hits)));
    }

    void redrawNowDrawsBeforeReturning() {
        // Back-to-back redraws: the window may still be composing the previous frame.
        for (int i = 0; i < 3; ++i) {
            LookDownAt(*view_, 7.5f, 12.5f);
            view_->RedrawNow();
            QCOMPARE(view_->Pick(QPoint(kWidth / 2, kHeight / 2)), 1207);
            LookDownAt(*view_, 30.5f, 40.5f);
            view_->RedrawNow();
            QCOMPARE(view_->Pick(QPoint(kWidth / 2, kHeight / 2)), 4030);
        }
    }

    void pickOffTheMapGivesMinusOne() {
        LookDownAt(*view_, 1.0f, 1.0f);
        view_->grabFramebuffer();
        QCOMPARE(view_->Pick(QPoint(5, 5)), -1);
    }

    void pickOnBorderOfEqualDepthsGivesSmallerName() {
        LookDownAt(*view_, 8.0f, 12.5f);
        view_->grabFramebuffer();
        QCOMPARE(view_->Pick(QPoint(kWidth / 2, kHeight / 2)), 1207);
    }

    void pickOnWallGivesTheHigherCell() {
        doc_->mapGrid().SetCellHeight(10, 10, 3.0);
        // From the south, level with the middle of the raised cell's south wall.
        view_->navigator().camera.Set(10.5f, 1.5f, 16.0f, 10.5f, 1.5f, 11.0f, 0.0f, 1.0f, 0.0f);
        view_->grabFramebuffer();
        QCOMPARE(view_->Pick(QPoint(kWidth / 2, kHeight / 2)), 1010);
    }

    void wireframePickMissesTheInsideOfATile() {
        view_->SetRenderMode(zandrel::view3d::RenderMode::Wireframe);
        LookDownAt(*view_, 7.5f, 12.5f);
        view_->grabFramebuffer();
        QCOMPARE(view_->Pick(PointOver(7.5f, 12.5f, 7.5f, 12.2f)), -1);
        // On the diagonal from the north-east corner to the centre.
        QCOMPARE(view_->Pick(PointOver(7.5f, 12.5f, 7.25f, 12.25f)), 1207);
    }

    void leftClickSelectsAndNotifiesOtherViews() {
        LookDownAt(*view_, 7.5f, 12.5f);
        view_->grabFramebuffer();
        QSignalSpy spy(doc_.get(), &CzandrelEditorDoc::viewsNeedUpdate);
        QTest::mouseClick(view_.get(), Qt::LeftButton, {}, PointOver(7.5f, 12.5f, 8.5f, 13.5f));
        QCOMPARE(view_->selection().x0, 8);
        QCOMPARE(view_->selection().z0, 13);
        QCOMPARE(view_->selection().x1, 8);
        QCOMPARE(view_->selection().z1, 13);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QObject*>(), view_.get());
    }

    void keysATurnLeftAndSTurnsBack() {
        const auto before = view_->navigator().camera;
        QTest::keyClick(view_.get(), Qt::Key_A);
        const auto turned = view_->navigator().camera;
        // A turns the line of sight by +0.1 radian: from +z toward +x.
        auto expected = before;
        expected.RotateView(0.1f, 0.0f, 1.0f, 0.0f);
        QCOMPARE(turned.target, expected.target);
        QCOMPARE(turned.eye, before.eye);
        QTest::keyClick(view_.get(), Qt::Key_S);
        for (int i = 0; i < 3; ++i) {
            QVERIFY(std::abs(view_->navigator().camera.target[i] - before.target[i]) < 1e-3f);
        }
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<CzandrelEditorDoc> doc_;
    std::unique_ptr<CzandrelEditorView> view_;
};

QTEST_MAIN(View3dTest)
#include "view3d_test.moc"
