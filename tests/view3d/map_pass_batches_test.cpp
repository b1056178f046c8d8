// The map pass in batches against the immediate pass, both drawn into the same framebuffer: the
// same bytes (but where a hidden twin wall is left out), rows rebuilt only where an edit
// reached, and the view modes changing only the pixels they should.
#include <GL/gl.h>
#include <GL/glu.h>

#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QtTest>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>

#include "BenchMaps.h"
#include "app/EditorSurfaceFormat.h"
#include "map/MapGrid.h"
#include "tools/Camera.h"
#include "view3d/MapOverlays.h"
#include "view3d/MapPassBatches.h"
#include "view3d/MapRenderer.h"
#include "view3d/MapScene.h"
#include "view3d/PassGeometry.h"

using namespace zandrel::view3d;
using zandrel::map::MapGrid;
using Camera = zandrel::tools::Camera;  // eye, then target; up is +y

namespace {

// A 4 x 4 texture of one colour; corner sets its first texel, so that orientation shows.
GLuint Texture(GLubyte r, GLubyte g, GLubyte b, GLubyte corner) {
    std::array<GLubyte, 4 * 4 * 3> texels{};
    for (std::size_t i = 0; i < texels.size(); ++i) {
        texels[i] = i == 0 ? corner : std::array{r, g, b}[i % 3];
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    return name;
}

constexpr int kSize = 256;
// Above the map, looking down at an angle so that walls show.
constexpr Camera kAbove{6.0, 9.0, 16.0, 6.0, 0.0, 5.0};
constexpr Camera kOverRidge{5.5, 20.0, 15.0, 5.5, 0.0, 5.0};

int Brightness(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

// A triangle over the picture's corner in the colour and texturing the pass left behind, as the
// enemy markers after it are drawn.
void DrawInLeftState() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_TRIANGLES);
    glTexCoord2f(0.5f, 0.5f);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(-0.5f, -1.0f);
    glVertex2f(-1.0f, -0.5f);
    glEnd();
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

}  // namespace

class MapPassBatchesTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { zandrel::app::UseEditorSurfaceFormat(); }

private slots:
    void initTestCase() {
        // A context of the editor's format drawing into a framebuffer of its own.
        surface_.setFormat(QSurfaceFormat::defaultFormat());
        surface_.create();
        QVERIFY(context_.create());
        QVERIFY(context_.makeCurrent(&surface_));
        QOpenGLFramebufferObjectFormat format;
        format.setAttachment(QOpenGLFramebufferObject::Depth);
        framebuffer_ = std::make_unique<QOpenGLFramebufferObject>(kSize, kSize, format);
        QVERIFY(framebuffer_->bind());
        // Bumps, so that walls stand, and three textures, so that binds matter.
        for (int x = 3; x < 7; ++x) {
            grid_->SetCellHeight(x, 4, 1.0 + x % 2);
        }
        for (int slot = 0; slot < 3; ++slot) {
            grid_->textureIds[slot] =
                Texture(slot == 0 ? 200 : 40, slot == 1 ? 200 : 40, slot == 2 ? 200 : 40, 255);
        }
        grid_->Cell(5, 5).typet = 2;
        grid_->Cell(2, 7).typew = 2;
        grid_->start.Set(1, 1, 1, 1);
        grid_->SetSelection(8, 2, 9, 3);
        grid_->Cell(4, 8).goal = 1;
        // A ridge along x in one plain grey: only light, lines and tint tell pixels apart.
        for (int cell = 0; cell < ridge_->SizeX * ridge_->SizeZ; ++cell) {
            const int z = cell / ridge_->SizeX;
            auto& c = ridge_->Cell(cell % ridge_->SizeX, z);
            c.NE = c.NO = std::clamp(4.0 - std::abs(z - 5), 0.0, 4.0);
            c.SE = c.SO = std::clamp(4.0 - std::abs(z + 1 - 5), 0.0, 4.0);
            c.C = (c.NE + c.SE) / 2.0;
        }
        ridge_->ComputeNormals();
        ridge_->textureIds[0] = Texture(170, 170, 170, 170);
    }

    // Each step changes the map, then both passes draw it. The rows whose drawing the change
    // reaches are rebuilt on the next frame, and no row on the frame after.
    void batchesDrawTheImmediateImageAndRebuildOnlyChangedRows() {
        const std::tuple<const char*, std::function<void()>, int> steps[] = {
            {"first frame: every row", [] {}, 10},
            {"nothing changed", [] {}, 0},
            {"a height: its row and the walls of both neighbours",
             [this] { grid_->SetCellHeight(6, 6, 2.5); }, 3},
            {"selection from rows 2-3 to row 6", [this] { grid_->SetSelection(0, 6, 11, 6); }, 3},
            {"a goal flag", [this] { grid_->Cell(7, 8).goal = 1; }, 1},
            {"start from row 1 to row 9", [this] { grid_->start.Set(3, 9, 3, 9); }, 2},
            {"a slot's texture object, used in rows 5 and 7",
             [this] { grid_->textureIds[2] = Texture(220, 220, 40, 255); }, 2},
            {"wireframe draws immediately", [this] { mode_ = RenderMode::Wireframe; }, 0},
            {"back to solid: only what changed meanwhile",
             [this] {
                 grid_->SetCellHeight(0, 9, 1.5);
                 mode_ = RenderMode::Solid;
             },
             2},
            {"grid, contours and a tint: the tint's rows, every one",
             [this] {
                 modes_ = {false, true, true, TintMode::Height};
             },
             10},
            {"the tint's range moves with the highest cell: every row",
             [this] { grid_->SetCellHeight(11, 0, 6.0); }, 10},
            {"every mode off again: every row, the plain pass", [this] { modes_ = {}; }, 10},
        };
        for (const auto& [name, change, rowsChanged] : steps) {
            change();
            const PassStyle style = PassStyle::For(*grid_, modes_);
            const QImage immediate = Draw([&] { MapRenderer::Draw(*grid_, mode_, style); });
            for (const int rebuilt : {rowsChanged, 0}) {
                QVERIFY2(Draw([&] { pass_.Draw(*grid_, mode_, style); }) == immediate, name);
                QVERIFY2(pass_.LastRebuiltRows() == rebuilt, name);
            }
            // Something is drawn at all: the solid map covers the middle of the picture.
            QVERIFY(mode_ != RenderMode::Solid ||
                    immediate.pixel(kSize / 2, kSize / 2) != immediate.pixel(0, 0));
        }
    }

    // The view volume's test itself, under a projection that shows the whole 4 x 4 map across
    // and only heights from band - 1 to band + 1. The map stands at height 3 but for cell (1, 1).
    // Touching the volume counts as showing.
    void viewVolumeKeepsWhatMayShow() {
        // band, the height of cell (1, 1), row z, cells x0..x1, whether they may show.
        const std::tuple<const char*, double, double, int, int, int, bool> cases[] = {
            {"a cell below the band", 4.5, 3.0, 1, 1, 1, false},
            {"a cell raised into it", 4.5, 5.0, 1, 1, 1, true},
            {"its neighbour, its wall's foot", 4.5, 5.0, 1, 2, 3, true},
            {"the row behind, its wall's foot", 4.5, 5.0, 2, 0, 3, true},
            {"a row away from it", 4.5, 5.0, 3, 0, 3, false},
            {"a height that is not finite", 4.5, qQNaN(), 1, 1, 1, true},
            {"the border: outer walls reach 0", 0.0, 3.0, 0, 0, 0, true},
            {"an inner cell, band at 0", 0.0, 3.0, 1, 1, 1, false},
            {"cells past the map's end", 4.5, 5.0, 1, 4, 9, false}};
        for (const auto& [name, band, height, z, x0, x1, mayShow] : cases) {
            MapGrid grid(4, 4);
            for (int cell = 0; cell < 16; ++cell) {
                grid.SetCellHeight(cell % 4, cell / 4, cell == 5 ? height : 3.0);
            }
            // Column-major: x and z from 0..4 onto 0..1, y from the band onto -1..1, w = 1.
            std::array<double, 16> worldToClip{};
            worldToClip[0] = worldToClip[10] = 0.25;
            worldToClip[5] = worldToClip[15] = 1.0;
            worldToClip[13] = -band;
            QVERIFY2(ViewVolume(worldToClip).MayShowCells(grid, z, x0, x1) == mayShow, name);
        }
    }

    // Pieces of rows outside the view volume are left out of a frame, and the frame is still
    // the image of the whole pass. The map is a pit 6 deep beside a plateau 5 high, split
    // across the rows (rows 0-3 pit) or along them (columns 0-9 pit): from inside the pit only
    // the plateau's wall shows, which the plateau's cells hang down to the pit's floor.
    void partsOutsideTheViewAreLeftOut() {
        const std::tuple<const char*, bool, Camera, bool> cases[] = {
            {"the whole map in view", true, {6, 30, 30, 6, 0, 5}, false},
            {"close above the pit's first rows", true, {6, -2, 0.5, 6, -6, 1.5}, true},
            {"in the pit, facing the wall across rows", true, {5.5, -3, 1.5, 5.5, -3, 9}, true},
            {"on the plateau, back to the pit across", true, {5.5, 6, 5.0, 5.5, 5, 12}, true},
            {"in the pit, facing the wall along rows", false, {7.5, -3, 5.5, 12, -3, 5.5}, true},
            {"on the plateau, back to the pit along", false, {10.5, 6, 5.5, 14, 5, 5.5}, true}};
        for (const auto& [name, pitInFirstRows, camera, leavesPartsOut] : cases) {
            MapGrid grid(12, 10);
            for (int cell = 0; cell < grid.SizeX * grid.SizeZ; ++cell) {
                const int x = cell % grid.SizeX;
                const int z = cell / grid.SizeX;
                grid.SetCellHeight(
                    x, z, (pitInFirstRows ? z < 4 : x < 10) ? -6.0 : 5.0 + 0.25 * ((x + z) % 3));
            }
            grid.textureIds = grid_->textureIds;
            // The last cell drawn is selected: what follows the pass inherits its tint.
            grid.SetSelection(11, 9, 11, 9);
            const QImage immediate = Draw(
                [&] {
                    MapRenderer::Draw(grid, RenderMode::Solid);
                    DrawInLeftState();
                },
                camera);
            MapPassBatches pass;
            for (int frame = 0; frame < 2; ++frame) {
                const auto culled = [&] {
                    std::array<double, 16> worldToClip{};
                    glGetDoublev(GL_PROJECTION_MATRIX, worldToClip.data());
                    const ViewVolume volume(worldToClip);
                    pass.Draw(grid, RenderMode::Solid, {}, &volume);
                    DrawInLeftState();
                };
                QVERIFY2(Draw(culled, camera) == immediate, name);
                QVERIFY2((pass.LastCulledPieces() > 0) == leavesPartsOut, name);
            }
        }
    }

    // The benchmarks' maps, walls on nearly every edge and textures changing every few cells,
    // have no twin walls: the batches draw the immediate image byte for byte, with one draw per
    // texture and kind in a row where the immediate pass makes one per tile and wall.
    void benchMapsDrawTheImmediateImage() {
        for (const char* kind : {"block", "walls", "walls1", "varied"}) {
            MapGrid grid(50, 50);
            zandrel::bench::ShapeBenchMap(grid, kind);
            for (std::size_t slot = 0; slot < 6; ++slot) {
                grid.textureIds[slot] = grid_->textureIds[slot % 3];
            }
            grid.SetSelection(20, 20, 24, 22);
            grid.Cell(30, 30).goal = 1;
            const Camera camera{25.0, 90.0, -40.0, 25.0, 0.0, 25.0};
            MapPassBatches pass;
            QVERIFY2(Draw([&] { pass.Draw(grid, RenderMode::Solid); }, camera) ==
                         Draw([&] { MapRenderer::Draw(grid, RenderMode::Solid); }, camera),
                     kind);
            QVERIFY2(pass.LastDrawCalls() <= grid.SizeZ * 5, kind);
        }
    }

    // Where both cells draw the wall on their shared edge (equal averages, crossing corners),
    // the pass draws the north or west cell's wall first and it shows. The twin drawn second is
    // blue; the first is red; the blue texture is used earlier in the row, so that a batch drawn
    // by texture would put the twin first. Pixels may differ from the immediate pass only where
    // the pairs stand, and no blue of a twin shows there.
    void twinWallsShowTheWallDrawnFirst() {
        using Geometry = PassGeometry;
        MapGrid grid(8, 6);
        grid.textureIds[0] = grid_->textureIds[1];
        grid.textureIds[3] = Texture(200, 40, 40, 255);
        grid.textureIds[4] = Texture(40, 40, 230, 255);
        for (int z = 0; z < grid.SizeZ; ++z) {
            grid.Cell(0, z).typew = 4;
        }
        // Both walls of each pair: the cell whose wall is drawn first and its side, then the
        // other cell's.
        std::vector<std::tuple<int, int, Geometry::WallSide>> twins;
        for (const int z : {1, 3}) {
            // The west edge of (3, z) falls southwards, the east edge of (4, z) rises.
            grid.Cell(3, z).NO = 2.0;
            grid.Cell(4, z).SE = 2.0;
            grid.Cell(3, z).typew = 3;
            grid.Cell(4, z).typew = 4;
            twins.insert(twins.end(), {{3, z, Geometry::kWest}, {4, z, Geometry::kEast}});
        }
        grid.Cell(6, 2).SE = grid.Cell(6, 3).NO = 1.5;
        grid.Cell(6, 2).SO = grid.Cell(6, 3).NE = 0.5;
        grid.Cell(6, 2).typew = 3;
        grid.Cell(6, 3).typew = 4;
        twins.insert(twins.end(), {{6, 2, Geometry::kSouth}, {6, 3, Geometry::kNorth}});
        grid.ComputeNormals();
        const Camera camera{9.0, 4.0, -3.0, 4.0, 0.5, 3.0};
        const QImage immediate = Draw([&] { MapRenderer::Draw(grid, RenderMode::Solid); }, camera);
        MapPassBatches pass;
        const QImage batched = Draw([&] { pass.Draw(grid, RenderMode::Solid); }, camera);
        // The twin walls, white on black, whatever hides them.
        const auto drawPairs = [&] {
            glDisable(GL_DEPTH_TEST);
            glDisable(GL_TEXTURE_2D);
            glColor3f(1.0f, 1.0f, 1.0f);
            for (const auto& [x, z, side] : twins) {
                const auto wall = Geometry::WallOn(grid, x, z, side);
                QVERIFY(wall.drawn && wall.twin);
                glBegin(GL_POLYGON);
                for (const auto& v : wall.v) {
                    glVertex3f(v.x, v.y, v.z);
                }
                glEnd();
            }
            glEnable(GL_DEPTH_TEST);
        };
        const QImage mask = Draw(drawPairs, camera);
        const auto isBlue = [](QRgb p) { return qBlue(p) > 120 && qRed(p) < 90 && qGreen(p) < 90; };
        int inMask = 0;
        for (int i = 0; i < kSize * kSize; ++i) {
            const QPoint at(i % kSize, i / kSize);
            if (qRed(mask.pixel(at)) == 0) {
                QCOMPARE(batched.pixel(at), immediate.pixel(at));
            } else {
                ++inMask;
                QVERIFY(!isBlue(batched.pixel(at)));
            }
        }
        QVERIFY(inMask > 100);
    }

    // Each mode makes the first point brighter than the second by more than the margin, where
    // the plain drawing tells them apart only by the texture's filtering at two distances. The
    // light comes from behind the camera, onto the slope facing it; a tint's ramp rises in
    // lightness with the value: height, or friction, which rises southwards over flat ground.
    void reliefTintAndLinesChangeOnlyThePixelsTheyShould() {
        for (int cell = 0; cell < ridge_->SizeX * ridge_->SizeZ; ++cell) {
            ridge_->Cell(cell % ridge_->SizeX, cell / ridge_->SizeX).artr =
                0.1 + 0.01 * (cell / ridge_->SizeX);
        }
        const QImage plain = DrawRidge({});
        const std::tuple<TintMode, QVector3D, QVector3D, int> cases[] = {
            {TintMode::Off, {5.5f, 2.0f, 7.0f}, {5.5f, 2.0f, 3.0f}, 150},
            {TintMode::Height, {5.5f, 3.5f, 5.5f}, {5.5f, 0.0f, 10.5f}, 100},
            {TintMode::Friction, {5.5f, 0.0f, 10.5f}, {5.5f, 0.5f, 1.5f}, 50}};
        const auto at = [&](const QImage& shown, const QVector3D& p) {
            return Brightness(shown.pixel(Project(p.x(), p.y(), p.z())));
        };
        for (const auto& [tint, bright, dark, margin] : cases) {
            const QImage image = DrawRidge({tint == TintMode::Off, false, false, tint});
            QVERIFY(std::abs(at(plain, bright) - at(plain, dark)) <= 25);
            QVERIFY(at(image, bright) > at(image, dark) + margin);
        }

        // Lines darken the pixels they lie on and leave those between them as they were: the
        // grid a cell edge and not a cell centre, contours height 1 and not height 1.5.
        const std::tuple<bool, QVector3D, QVector3D> lines[] = {
            {true, {5.0f, 1.5f, 7.5f}, {5.5f, 1.5f, 7.5f}},
            {false, {5.5f, 1.0f, 8.0f}, {5.5f, 1.5f, 7.5f}}};
        for (const auto& [grid, onLine, offLine] : lines) {
            const QImage lined = DrawRidge({false, grid, !grid, TintMode::Off});
            QVERIFY(Darkest(lined, onLine) + 40 < Darkest(plain, onLine));
            QCOMPARE(Darkest(lined, offLine), Darkest(plain, offLine));
        }
    }

private:
    // A frame drawn as the view draws one, from the camera. Rows top first.
    QImage Draw(const std::function<void()>& pass, const Camera& camera = kAbove) {
        MapScene::BeginFrame(kSize, kSize);
        MapScene::LoadProjection(camera, kSize, kSize);
        glGetDoublev(GL_PROJECTION_MATRIX, projection_.data());
        pass();
        glFinish();
        return framebuffer_->toImage(true);
    }

    // Where a map point landed in the last frame's image.
    QPoint Project(double x, double y, double z) const {
        const std::array<double, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const std::array<GLint, 4> viewport = {0, 0, kSize, kSize};
        std::array<double, 3> window{};
        gluProject(x, y, z, identity.data(), projection_.data(), viewport.data(), &window[0],
                   &window[1], &window[2]);
        return {static_cast<int>(window[0]), kSize - 1 - static_cast<int>(window[1])};
    }

    // The ridge as the view draws it: the solid pass in batches, between the modes' state.
    QImage DrawRidge(const ViewModes& modes) {
        return Draw(
            [&] {
                MapOverlays::Begin(modes, kOverRidge);
                ridgePass_.Draw(*ridge_, RenderMode::Solid, PassStyle::For(*ridge_, modes));
                MapOverlays::End(modes);
            },
            kOverRidge);
    }

    // The darkest pixel around a map point: a line one pixel wide may fall beside it.
    int Darkest(const QImage& image, const QVector3D& point) const {
        const QPoint centre = Project(point.x(), point.y(), point.z());
        int darkest = 3 * 255;
        for (int d = 0; d < 9; ++d) {
            darkest =
                std::min(darkest, Brightness(image.pixel(centre + QPoint(d % 3 - 1, d / 3 - 1))));
        }
        return darkest;
    }

    QOffscreenSurface surface_;
    QOpenGLContext context_;
    std::unique_ptr<QOpenGLFramebufferObject> framebuffer_;
    std::array<double, 16> projection_{};
    std::unique_ptr<MapGrid> grid_ = std::make_unique<MapGrid>(12, 10);
    std::unique_ptr<MapGrid> ridge_ = std::make_unique<MapGrid>(11, 12);
    MapPassBatches pass_;
    MapPassBatches ridgePass_;
    RenderMode mode_ = RenderMode::Solid;
    ViewModes modes_;
};

QTEST_MAIN(MapPassBatchesTest)
#include "map_pass_batches_test.moc"
