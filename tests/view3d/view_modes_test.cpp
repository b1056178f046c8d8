// The view modes drawn on a ridge: each mode changes the pixels it should and no others, and
// with every mode off the map pass gives the plain pass's bytes, rows built with modes or not.
// With ZANDREL_FIGURES=folder set it also writes the ridge with and without relief there.
#include <GL/gl.h>
#include <GL/glu.h>

#include <QDir>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QtTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include "OffscreenTarget.h"

#include "app/EditorSurfaceFormat.h"
#include "map/MapGrid.h"
#include "tools/Camera.h"
#include "view3d/MapOverlays.h"
#include "view3d/MapPassBatches.h"
#include "view3d/MapRenderer.h"

using zandrel::map::MapGrid;
using zandrel::view3d::MapOverlays;
using zandrel::view3d::MapPassBatches;
using zandrel::view3d::MapRenderer;
using zandrel::view3d::PassStyle;
using zandrel::view3d::RenderMode;
using zandrel::view3d::TintMode;
using zandrel::view3d::ViewModes;

namespace {

constexpr int kSize = 320;

// Height of the corner line at z: flat, a ramp up to 4 at z = 5, a ramp down, flat again.
double RidgeHeight(int z) {
    return std::clamp(4.0 - std::abs(z - 5), 0.0, 4.0);
}

int Brightness(QRgb pixel) {
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel);
}

}  // namespace

class ViewModesTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { zandrel::app::UseEditorSurfaceFormat(); }

private slots:
    void initTestCase() {
        target_.Open(kSize);
        if (QTest::currentTestFailed()) {
            return;
        }
        grid_ = std::make_unique<MapGrid>(11, 12);
        for (int z = 0; z < grid_->SizeZ; ++z) {
            for (int x = 0; x < grid_->SizeX; ++x) {
                auto& cell = grid_->Cell(x, z);
                cell.NE = cell.NO = RidgeHeight(z);
                cell.SE = cell.SO = RidgeHeight(z + 1);
                cell.C = (cell.NE + cell.SE) / 2.0;
            }
        }
        grid_->ComputeNormals();
        // One plain grey, so that only light, lines and tint tell pixels apart.
        std::array<GLubyte, 4 * 4 * 3> texels;
        texels.fill(170);
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 4, 4, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
        grid_->textureIds[0] = texture;
        camera_.Set(5.5f, 20.0f, 15.0f, 5.5f, 0.0f, 5.0f, 0.0f, 1.0f, 0.0f);
    }

    void cleanupTestCase() { target_.Close(); }

    // Modes on and off again: the tint's rows are rebuilt, back to the plain pass, byte for
    // byte.
    void allModesOffDrawsThePlainPass() {
        const QImage plain = Draw({}, false);
        const ViewModes all{true, true, true, TintMode::Height};
        QVERIFY(Draw(all) != plain);
        QVERIFY(Draw({}) == plain);
        QCOMPARE(pass_.LastRebuiltRows(), grid_->SizeZ);
    }

    // The light comes from behind the camera: the slope facing it is brighter than the one
    // facing away, which plain drawing cannot tell apart.
    void reliefShadesTheFarSlopeDarker() {
        const QImage plain = Draw({});
        const QImage lit = Draw({true, false, false, TintMode::Off});
        const QPoint near = Project(5.5, 2.0, 7.0);
        const QPoint far = Project(5.5, 2.0, 3.0);
        // Only the texture's filtering at two distances tells them apart.
        QVERIFY(std::abs(Brightness(plain.pixel(near)) - Brightness(plain.pixel(far))) <= 6);
        QVERIFY(Brightness(lit.pixel(near)) > Brightness(lit.pixel(far)) + 150);
    }

    // Lines darken the pixels they lie on and leave those between them as they were.
    void linesLieWhereExpected_data() {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<QVector3D>("onLine");
        QTest::addColumn<QVector3D>("offLine");
        QTest::newRow("grid: a cell edge, a cell centre")
            << true << QVector3D(5.0f, 1.5f, 7.5f) << QVector3D(5.5f, 1.5f, 7.5f);
        QTest::newRow("contour: height 1, height 1.5")
            << false << QVector3D(5.5f, 1.0f, 8.0f) << QVector3D(5.5f, 1.5f, 7.5f);
    }

    void linesLieWhereExpected() {
        QFETCH(bool, grid);
        QFETCH(QVector3D, onLine);
        QFETCH(QVector3D, offLine);
        const QImage plain = Draw({});
        const QImage lined = Draw({false, grid, !grid, TintMode::Off});
        QVERIFY(Darkest(lined, onLine) + 40 < Darkest(plain, onLine));
        QCOMPARE(Darkest(lined, offLine), Darkest(plain, offLine));
    }

    void heightTintTellsLowFromHigh() {
        const QImage tinted = Draw({false, false, false, TintMode::Height});
        const QRgb low = tinted.pixel(Project(5.5, 0.0, 10.5));
        const QRgb high = tinted.pixel(Project(5.5, 3.5, 5.5));
        QVERIFY(low != high);
        // The ramp rises in lightness: the ridge top is the bright end.
        QVERIFY(Brightness(high) > Brightness(low) + 100);
    }

    void writeFigures() {
        const QByteArray folder = qgetenv("ZANDREL_FIGURES");
        if (folder.isEmpty()) {
            QSKIP("set ZANDREL_FIGURES to a folder to write the figures");
        }
        QVERIFY(QDir().mkpath(QString::fromLocal8Bit(folder)));
        const QString base = QString::fromLocal8Bit(folder) + "/ridge-";
        // From a corner, as a designer would look at it; on black, as the view shows it.
        const zandrel::tools::Camera kept = camera_;
        camera_.Set(-3.0f, 15.0f, 17.0f, 5.5f, 0.0f, 5.0f, 0.0f, 1.0f, 0.0f);
        const auto save = [&](const ViewModes& modes, const char* name) {
            return Draw(modes).convertToFormat(QImage::Format_RGB888).save(base + name);
        };
        const bool saved = save({}, "plain.png") &&
                           save({true, false, false, TintMode::Off}, "relief.png") &&
                           save({true, true, true, TintMode::Height}, "all-modes.png");
        camera_ = kept;
        QVERIFY(saved);
    }

private:
    // The frame as the view draws it: the solid pass in batches, between the modes' state;
    // batched false draws the immediate plain pass instead.
    QImage Draw(const ViewModes& modes, bool batched = true) {
        glViewport(0, 0, kSize, kSize);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnable(GL_COLOR_MATERIAL);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(55.0, 1.0, 0.5, 150.0);
        gluLookAt(camera_.eye[0], camera_.eye[1], camera_.eye[2], camera_.target[0],
                  camera_.target[1], camera_.target[2], 0.0, 1.0, 0.0);
        glGetDoublev(GL_PROJECTION_MATRIX, projection_.data());
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        if (batched) {
            MapOverlays::Begin(modes, camera_);
            pass_.Draw(*grid_, RenderMode::Solid, PassStyle::For(*grid_, modes));
            MapOverlays::End(modes);
        } else {
            MapRenderer::Draw(*grid_, RenderMode::Solid);
        }
        glFinish();
        return target_.Image();
    }

    // Where a map point lands in the image (top row first).
    QPoint Project(double x, double y, double z) const {
        const std::array<double, 16> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
        const std::array<GLint, 4> viewport = {0, 0, kSize, kSize};
        double wx = 0.0;
        double wy = 0.0;
        double wz = 0.0;
        gluProject(x, y, z, identity.data(), projection_.data(), viewport.data(), &wx, &wy, &wz);
        return {static_cast<int>(wx), kSize - 1 - static_cast<int>(wy)};
    }

    // The darkest pixel around a map point: a line one pixel wide may fall beside it.
    int Darkest(const QImage& image, const QVector3D& point) const {
        const QPoint centre = Project(point.x(), point.y(), point.z());
        int darkest = 3 * 255;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                darkest = std::min(darkest, Brightness(image.pixel(centre + QPoint(dx, dy))));
            }
        }
        return darkest;
    }

    zandrel::view3d_test::OffscreenTarget target_;
    std::unique_ptr<MapGrid> grid_;
    MapPassBatches pass_;
    zandrel::tools::Camera camera_;
    std::array<double, 16> projection_{};
};

QTEST_MAIN(ViewModesTest)
#include "view_modes_test.moc"
