#include <GL/gl.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <iostream>
#include <sstream>

#include "GuiMapEditor.h"
#include "app/CChildFrame.h"
#include "panel/DialogUnits.h"
#include "panel/FormTemplate.h"

using namespace zandrel;
using app::CChildFrame;
using document::CzandrelEditorDoc;
using panel::ControlKind;

namespace {

// One map window of a new 50x50 map, panel on the left and 3D view on the right, without the
// shell. The frame goes before the document, as the shell's does.
struct MapWindow {
    CzandrelEditorDoc doc;
    std::unique_ptr<CChildFrame> frame;

    MapWindow() {
        doc.OnNewDocument();
        frame = std::make_unique<CChildFrame>(&doc);
        frame->resize(520, 460);
    }

    // The view's first draw stores its selection in the map.
    void Show() {
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
    }

    template <typename Widget>
    Widget* Find(const char* name, const CChildFrame* in = nullptr) const {
        return (in != nullptr ? in : frame.get())->Panel()->findChild<Widget*>(name);
    }
    QString Text(const char* field) const { return Find<QLineEdit>(field)->text(); }
    int Slider(const char* name) const { return Find<QSlider>(name)->value(); }
    void Click(const char* button) const {
        QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    }

    // The block the 3D view would have picked and stored, then its notification to the panels:
    // nothing changed, the views refresh.
    void Select(int x0, int z0, int x1, int z1) {
        frame->View()->selection().Set(x0, z0, x1, z1);
        doc.mapGrid().SetSelection(x0, z0, x1, z1);
        Notify();
    }
    void Notify() {
        doc.Change(
            [](tools::DocumentState&) {
                return tools::EditOutcome{false, true};
            },
            frame->View());
    }

    void SetCells(int x0, int z0, int x1, int z1, double grav, double artr) {
        for (int x = x0; x <= x1; ++x) {
            for (int z = z0; z <= z1; ++z) {
                doc.mapGrid().Cell(x, z).grav = grav;
                doc.mapGrid().Cell(x, z).artr = artr;
            }
        }
    }
};

QStringList Entries(const QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    return entries;
}

// A temporary working directory holding small images with the given names; the previous
// working directory comes back when it goes.
class ImageDir {
public:
    explicit ImageDir(std::initializer_list<const char*> names) : previous_(QDir::currentPath()) {
        for (const char* name : names) {
            QImage image(8, 8, QImage::Format_RGB32);
            image.fill(Qt::darkGreen);
            image.save(QDir(dir_.path()).filePath(QString::fromLatin1(name)), "JPG");
        }
        QDir::setCurrent(dir_.path());
    }
    ~ImageDir() { QDir::setCurrent(previous_); }
    bool Ready() const {
        return dir_.isValid() && QDir::currentPath() == QDir(dir_.path()).canonicalPath();
    }

private:
    QTemporaryDir dir_;
    QString previous_;
};

}  // namespace

class PanelTest : public QObject {
    Q_OBJECT

public:
    static void initMain() { gui_test::PrepareApplication(); }

private slots:
    void dialogUnitsConvertEdgesWithTheFontsBaseUnits() {
        const panel::DialogUnits units(6, 13);
        // Edges, not sizes, are scaled: 7..117 units wide becomes 11..176 pixels.
        QCOMPARE(units.ToPixels(QRect(7, 1, 110, 136)), QRect(11, 2, 165, 221));
        QCOMPARE(units.ToPixels(QSize(123, 249)), QSize(185, 405));
    }

    // What only the built form shows: every control of the template is there, nothing is cut or
    // scrolls, frames nest and let clicks through.
    void formShowsEveryControlWholeInsideThePane() {
        MapWindow window;
        window.Show();
        const QWidget* form = window.frame->Panel()->widget();
        QCOMPARE(form->font().pointSize(), 8);
        QVERIFY(window.frame->Panel()->FormSize().width() <= panel::CzandrelEditorFormView::kWidth);
        for (const auto& control : panel::FormTemplate::Controls()) {
            const auto* widget = form->findChild<QWidget*>(QString::fromLatin1(control.objectName));
            QVERIFY2(widget != nullptr, control.objectName);
            QVERIFY2(widget->width() >= widget->sizeHint().width() ||
                         control.kind != ControlKind::StaticText,
                     control.objectName);
        }
        QCOMPARE(window.Find<QLabel>("gravityLabel")->text(), QString::fromUtf8("Gravit\xc3\xa0"));
        const QRect applyTo = window.Find<QGroupBox>("applyToGroup")->geometry();
        QVERIFY(window.Find<QGroupBox>("texturesGroup")->geometry().contains(applyTo));
        for (const char* button : {"applyTileButton", "applyWallButton", "applyEnemyButton"}) {
            QVERIFY(applyTo.contains(window.Find<QPushButton>(button)->geometry()));
        }
        const QPushButton* apply = window.Find<QPushButton>("applyButton");
        QCOMPARE(form->childAt(apply->geometry().center()), apply);
    }

    // The table in its order, nothing chosen, and the defaults before the view has drawn; a
    // negative texture count opens as an empty table.
    void aFreshWindowShowsTheTableAndTheDefaults() {
        MapWindow window;
        auto& grid = window.doc.mapGrid();
        const QStringList names{"z.jpg", "a.jpg", "m.jpg"};
        for (int k = 0; k < 3; ++k) {
            grid.textures[k].Assign(names[k].toStdString());
        }
        grid.SetSelection(0, 0, 1, 1);
        window.SetCells(0, 0, 1, 1, -100.0, 12.0);
        const CChildFrame frame(&window.doc);
        const auto* list = window.Find<QComboBox>("textureList", &frame);
        QCOMPARE(Entries(list), names);
        QCOMPARE(list->currentIndex(), -1);
        QCOMPARE(window.Find<QLineEdit>("gravityValue", &frame)->text(), QString("-160"));
        QCOMPARE(window.Find<QLineEdit>("frictionValue", &frame)->text(), QString("7"));
        QCOMPARE(window.Find<QSlider>("gravitySlider", &frame)->value(), -160);
        QCOMPARE(window.Find<QSlider>("frictionSlider", &frame)->value(), 7);
        QVERIFY(!window.doc.IsModified());

        window.doc.mapGrid().numtex = -4;
        const CChildFrame opened(&window.doc);
        // As zdmtool script does, so both save numtex="0".
        QCOMPARE(window.doc.mapGrid().numtex, 0);
        QCOMPARE(window.Find<QComboBox>("textureList", &opened)->count(), 0);
    }

    // Which values are common is the attribute rules' business; every panel of the map shows
    // them, keeps a slider where it was when its field empties, and pins a slider to its end
    // beyond the range. "Applica" writes both sliders' positions, and only then.
    void commonValuesShowInEveryWindowAndApplyWritesTheSliders() {
        MapWindow window;
        window.Show();
        // The second window stays hidden: it never draws, so only the first stores a selection.
        const CChildFrame other(&window.doc);
        window.SetCells(2, 3, 4, 5, -120.0, 12.0);
        window.Select(2, 3, 3, 4);
        QCOMPARE(window.Text("gravityValue"), QString("-120"));
        QCOMPARE(window.Find<QLineEdit>("frictionValue", &other)->text(), QString("12"));
        QCOMPARE(window.Slider("gravitySlider"), -120);
        QCOMPARE(window.Slider("frictionSlider"), 12);
        QCOMPARE(window.Text("tileName"), QString("tile.jpg"));

        window.doc.mapGrid().Cell(4, 5).artr = 15.0;
        window.doc.mapGrid().Cell(4, 5).typew = 2;
        window.Select(2, 3, 4, 5);
        QVERIFY(window.Text("frictionValue").isEmpty());
        QVERIFY(window.Text("wallName").isEmpty());
        QCOMPARE(window.Slider("frictionSlider"), 12);
        QCOMPARE(window.Text("gravityValue"), QString("-120"));

        // Moving a slider shows its value and changes no cell until "Applica".
        const auto before = window.doc.mapGrid().cells;
        QTest::keyClick(window.Find<QSlider>("gravitySlider"), Qt::Key_Right);
        QCOMPARE(window.Text("gravityValue"), QString("-119"));
        QVERIFY(window.doc.mapGrid().cells == before);
        QVERIFY(!window.doc.IsModified());
        QSignalSpy notified(&window.doc, &CzandrelEditorDoc::viewsNeedUpdate);
        window.Click("applyButton");
        // The slider positions, the friction one untouched; which cells is the rules' business.
        QCOMPARE(window.doc.mapGrid().Cell(4, 5).grav, -119.0);
        QCOMPARE(window.doc.mapGrid().Cell(4, 5).artr, 12.0);
        QVERIFY(window.doc.IsModified());
        // Every window of the map, this panel included, shows the applied values.
        QCOMPARE(notified.count(), 1);
        QCOMPARE(notified.at(0).at(0).value<QObject*>(), nullptr);
        QCOMPARE(window.Text("frictionValue"), QString("12"));
        QCOMPARE(window.Find<QLineEdit>("gravityValue", &other)->text(), QString("-119"));
        QCOMPARE(window.Find<QSlider>("gravitySlider", &other)->value(), -119);

        window.SetCells(0, 0, 0, 0, 500.0, 12.0);
        window.doc.mapGrid().Cell(0, 0).typet = 7;  // beyond the table's three slots
        window.Select(0, 0, 0, 0);
        QCOMPARE(window.Text("gravityValue"), QString("500"));
        QCOMPARE(window.Slider("gravitySlider"), 160);
        QVERIFY(window.Text("tileName").isEmpty());

        // A rebuilt list elsewhere reaches this window's list, so its entries name the new slots.
        window.doc.mapGrid().textures[1].Assign("rock.jpg");
        window.Notify();
        QCOMPARE(Entries(window.Find<QComboBox>("textureList", &other)),
                 (QStringList{"tile.jpg", "rock.jpg", "enemy.jpg"}));
    }

    // The list is rebuilt from the working directory (its order is the archive's business), slots
    // keep their numbers, and the context group both views share loads the new images once.
    // Tile, wall and enemy then take the chosen entry, shown at once in the panel and the views.
    void refreshRebuildsTheListAndTheButtonsUseTheChosenEntry() {
        const ImageDir images{"b.jpg", "a.jpg", "enemy.jpg", "wall.jpg", "tile.jpg"};
        QVERIFY(images.Ready());
        MapWindow window;
        window.Show();
        CChildFrame other(&window.doc);
        other.resize(520, 460);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QTRY_VERIFY(window.frame->View()->TexturesLoaded() && other.View()->TexturesLoaded());
        auto& grid = window.doc.mapGrid();
        grid.Cell(0, 0).typet = 2;
        std::ostringstream trace;
        std::streambuf* const cout = std::cout.rdbuf(trace.rdbuf());
        QTest::mouseClick(window.Find<QPushButton>("refreshTexturesButton", &other),
                          Qt::LeftButton);
        std::cout.rdbuf(cout);
        const QStringList expected{"tile.jpg", "wall.jpg", "enemy.jpg", "a.jpg", "b.jpg"};
        QCOMPARE(Entries(window.Find<QComboBox>("textureList")), expected);
        QCOMPARE(grid.numtex, expected.size());
        QCOMPARE(QString::fromUtf8(grid.textures[4].CStr()), QString("b.jpg"));
        QCOMPARE(grid.Cell(0, 0).typet, 2);
        QVERIFY(window.doc.IsModified());
        const QString text = QString::fromStdString(trace.str());
        QCOMPARE(text.count("Texture 3:a.jpg"), 1);
        QCOMPARE(text.count("Texture 4:b.jpg"), 1);
        QVERIFY(window.frame->View()->MakeCurrent());
        QVERIFY(glIsTexture(grid.textureIds[3]));

        window.doc.SetModified(false);
        window.Select(0, 0, 1, 2);
        QComboBox* list = window.Find<QComboBox>("textureList");
        list->setCurrentIndex(3);
        window.Click("applyTileButton");
        QVERIFY(window.doc.IsModified());
        list->setCurrentIndex(0);
        window.Click("applyWallButton");
        QCOMPARE(grid.Cell(1, 2).typet, 3);
        QCOMPARE(grid.Cell(1, 2).typew, 0);
        QCOMPARE(window.Text("tileName"), QString("a.jpg"));
        QCOMPARE(window.Text("wallName"), QString("tile.jpg"));

        // The markers take the new image at once, in both views' context.
        const std::uint32_t enemy = other.View()->EnemyTexture();
        QVERIFY(enemy != 0);
        list->setCurrentIndex(1);
        window.Click("applyEnemyButton");
        QCOMPARE(grid.Enemys_Tex, 1);
        QVERIFY(window.frame->View()->EnemyTexture() != 0);
        QVERIFY(window.frame->View()->EnemyTexture() != enemy);
        QCOMPARE(other.View()->EnemyTexture(), window.frame->View()->EnemyTexture());
    }
};

QTEST_MAIN(PanelTest)
#include "panel_test.moc"
