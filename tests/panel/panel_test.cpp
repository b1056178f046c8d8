#include <GL/gl.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QSlider>

#include "GuiMapEditor.h"
#include "app/CChildFrame.h"
#include "panel/DialogUnits.h"
#include "panel/FormTemplate.h"

using namespace zandrel;
using app::CChildFrame;
using document::CzandrelEditorDoc;
using panel::ControlKind;

namespace {

// The attributes of the block x0..x1, z0..z1 of a map.
void SetCells(map::MapGrid& grid, int x0, int z0, int x1, int z1, double grav, double artr) {
    for (int x = x0; x <= x1; ++x) {
        for (int z = z0; z <= z1; ++z) {
            grid.Cell(x, z).grav = grav;
            grid.Cell(x, z).artr = artr;
        }
    }
}

// A widget of the panel of another window than the active one.
template <typename Widget>
Widget* Find(const CChildFrame& frame, const char* name) {
    return frame.Panel()->findChild<Widget*>(name);
}

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

}  // namespace

// Each case drives the panels of the editor on a new 50x50 map.
class PanelTest : public gui_test::EditorTest {
    Q_OBJECT

private slots:
    // What only the built form shows: every control of the template is there, nothing is cut or
    // scrolls, frames nest and let clicks through. Dialog units scale edges, not sizes: 7..117
    // units wide becomes 11..176 pixels.
    void newWindowsShowEveryControlWholeTheTableAndTheDefaults() {
        const panel::DialogUnits units(6, 13);
        QCOMPARE(units.ToPixels(QRect(7, 1, 110, 136)), QRect(11, 2, 165, 221));
        QCOMPARE(units.ToPixels(QSize(123, 249)), QSize(185, 405));
        QVERIFY(Start());
        const QWidget* form = e().active()->Panel()->widget();
        QCOMPARE(form->font().pointSize(), 8);
        QVERIFY(e().active()->Panel()->FormSize().width() <= panel::CzandrelEditorFormView::kWidth);
        for (const auto& control : panel::FormTemplate::Controls()) {
            const auto* widget = form->findChild<QWidget*>(QString::fromLatin1(control.objectName));
            QVERIFY2(widget != nullptr, control.objectName);
            QVERIFY2(widget->width() >= widget->sizeHint().width() ||
                         control.kind != ControlKind::StaticText,
                     control.objectName);
        }
        QCOMPARE(e().Panel<QLabel>("gravityLabel")->text(), QString::fromUtf8("Gravit\xc3\xa0"));
        const QRect applyTo = e().Panel<QGroupBox>("applyToGroup")->geometry();
        QVERIFY(e().Panel<QGroupBox>("texturesGroup")->geometry().contains(applyTo));
        for (const char* button : {"applyTileButton", "applyWallButton", "applyEnemyButton"}) {
            QVERIFY(applyTo.contains(e().Panel<QPushButton>(button)->geometry()));
        }
        const QPushButton* apply = e().Panel<QPushButton>("applyButton");
        QCOMPARE(form->childAt(apply->geometry().center()), apply);

        // A new window shows the table in its order, nothing chosen, and the defaults before its
        // view has drawn; a negative texture count opens as an empty table.
        auto& grid = e().doc()->mapGrid();
        const QStringList names{"z.jpg", "a.jpg", "m.jpg"};
        for (int k = 0; k < 3; ++k) {
            grid.textures[k].Assign(names[k].toStdString());
        }
        grid.SetSelection(0, 0, 1, 1);
        SetCells(grid, 0, 0, 1, 1, -100.0, 12.0);
        const CChildFrame frame(e().doc());
        const auto* list = Find<QComboBox>(frame, "textureList");
        QCOMPARE(Entries(list), names);
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(Find<QLineEdit>(frame, "gravityValue")->text(), QString("-160"));
        QCOMPARE(Find<QLineEdit>(frame, "frictionValue")->text(), QString("7"));
        // Ticks at the ends only, or at every position where the template asks for it.
        QCOMPARE(Find<QSlider>(frame, "gravitySlider")->tickInterval(), 320);
        QCOMPARE(Find<QSlider>(frame, "frictionSlider")->tickInterval(), 1);
        QVERIFY(!e().doc()->IsModified());

        grid.numtex = -4;
        const CChildFrame opened(e().doc());
        // As zdmtool script does, so both save numtex="0".
        QCOMPARE(grid.numtex, 0);
        QCOMPARE(Find<QComboBox>(opened, "textureList")->count(), 0);
    }

    // Which values are common is the attribute rules' business; every panel of the map shows
    // them, keeps a slider where it was when its field empties, and pins a slider to its end
    // beyond the range. "Applica" writes both sliders' positions, and only then.
    void commonValuesShowInEveryWindowAndApplyWritesTheSliders() {
        QVERIFY(Start());
        QVERIFY(QTest::qWaitForWindowExposed(e().view()));
        auto& grid = e().doc()->mapGrid();
        // The second window stays hidden: it never draws, so only the first stores a selection.
        const CChildFrame other(e().doc());
        SetCells(grid, 2, 3, 4, 5, -120.0, 12.0);
        e().Select(2, 3, 3, 4);
        QCOMPARE(e().Field("gravityValue"), QString("-120"));
        QCOMPARE(Find<QLineEdit>(other, "frictionValue")->text(), QString("12"));
        QCOMPARE(e().Field("tileName"), QString("tile.jpg"));

        grid.Cell(4, 5).artr = 15.0;
        grid.Cell(4, 5).typew = 2;
        e().Select(2, 3, 4, 5);
        QVERIFY(e().Field("frictionValue").isEmpty());
        QVERIFY(e().Field("wallName").isEmpty());

        // Moving a slider shows its value and changes no cell until "Applica".
        const auto before = grid.cells;
        QTest::keyClick(e().Panel<QSlider>("gravitySlider"), Qt::Key_Right);
        QCOMPARE(e().Field("gravityValue"), QString("-119"));
        QVERIFY(grid.cells == before);
        QVERIFY(!e().doc()->IsModified());
        QSignalSpy notified(e().doc(), &CzandrelEditorDoc::viewsNeedUpdate);
        e().Click("applyButton");
        // The slider positions, the friction one where the last common value left it; which cells
        // is the rules' business.
        QCOMPARE(grid.Cell(4, 5).grav, -119.0);
        QCOMPARE(grid.Cell(4, 5).artr, 12.0);
        QVERIFY(e().doc()->IsModified());
        // Every window of the map, this panel included, shows the applied values.
        QCOMPARE(notified.count(), 1);
        QCOMPARE(notified.at(0).at(0).value<QObject*>(), nullptr);
        QCOMPARE(e().Field("frictionValue"), QString("12"));
        QCOMPARE(Find<QLineEdit>(other, "gravityValue")->text(), QString("-119"));

        SetCells(grid, 0, 0, 0, 0, 500.0, 12.0);
        grid.Cell(0, 0).typet = 7;  // beyond the table's three slots
        e().Select(0, 0, 0, 0);
        QCOMPARE(e().Field("gravityValue"), QString("500"));
        QCOMPARE(e().Panel<QSlider>("gravitySlider")->value(), 160);
        QVERIFY(e().Field("tileName").isEmpty());
    }

    // The list is rebuilt from the working directory (its order is the archive's business), slots
    // keep their numbers, and the new images load into the context group both views share (that
    // each loads once is the group's own test's).
    // Tile, wall and enemy then take the chosen entry, shown at once in the panel and the views.
    void refreshRebuildsTheListAndTheButtonsUseTheChosenEntry() {
        // The editor's working folder, of small images, for as long as this case runs.
        QTemporaryDir images;
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        for (const char* name : {"b.jpg", "a.jpg", "enemy.jpg", "wall.jpg", "tile.jpg"}) {
            QVERIFY(image.save(QDir(images.path()).filePath(QString::fromLatin1(name)), "JPG"));
        }
        const auto back =
            qScopeGuard([previous = QDir::currentPath()] { QDir::setCurrent(previous); });
        QVERIFY(QDir::setCurrent(images.path()));
        QVERIFY(Start());
        QVERIFY(e().Run(document::cmd::kWindowNew));
        const CChildFrame& other = *e().frame().Frames().at(0);
        QTRY_VERIFY(e().view()->TexturesLoaded() && other.View()->TexturesLoaded());
        auto& grid = e().doc()->mapGrid();
        grid.Cell(0, 0).typet = 2;
        QTest::mouseClick(Find<QPushButton>(other, "refreshTexturesButton"), Qt::LeftButton);
        const QStringList expected{"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "b.jpg"};
        QCOMPARE(Entries(e().Panel<QComboBox>("textureList")), expected);
        QCOMPARE(grid.numtex, expected.size());
        QCOMPARE(QString::fromUtf8(grid.textures[4].CStr()), QString("b.jpg"));
        QCOMPARE(grid.Cell(0, 0).typet, 2);
        QVERIFY(e().doc()->IsModified());
        QVERIFY(e().view()->MakeCurrent());
        QVERIFY(glIsTexture(grid.textureIds[3]));

        e().doc()->SetModified(false);
        e().Select(0, 0, 1, 2);
        auto* list = e().Panel<QComboBox>("textureList");
        list->setCurrentIndex(3);
        e().Click("applyTileButton");
        QVERIFY(e().doc()->IsModified());
        list->setCurrentIndex(0);
        e().Click("applyWallButton");
        QCOMPARE(grid.Cell(1, 2).typet, 3);
        QCOMPARE(grid.Cell(1, 2).typew, 0);
        QCOMPARE(e().Field("tileName"), QString("a.jpg"));
        QCOMPARE(e().Field("wallName"), QString("tile.jpg"));

        // The markers take the new image at once, in both views' context.
        const std::uint32_t enemy = other.View()->EnemyTexture();
        list->setCurrentIndex(1);
        e().Click("applyEnemyButton");
        QCOMPARE(grid.Enemys_Tex, 1);
        QVERIFY(e().view()->EnemyTexture() != 0);
        QVERIFY(e().view()->EnemyTexture() != enemy);
        QCOMPARE(other.View()->EnemyTexture(), e().view()->EnemyTexture());
    }
};

QTEST_MAIN(PanelTest)
#include "panel_test.moc"
