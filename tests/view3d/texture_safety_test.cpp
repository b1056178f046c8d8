#include <GL/gl.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <iostream>
#include <optional>
#include <span>
#include <sstream>

#include "app/EditorSurfaceFormat.h"
#include "app/OpenGLProbe.h"
#include "document/CzandrelEditorDoc.h"
#include "tools/ImageHeader.h"
#include "view3d/CzandrelEditorView.h"
#include "view3d/TextureLoader.h"

using zandrel::document::CzandrelEditorDoc;
using zandrel::view3d::CzandrelEditorView;
using zandrel::view3d::TextureLoader;

namespace {

constexpr int kSize = 200;

// Swaps std::cout's buffer for the lifetime of the object.
class CoutCapture {
public:
    CoutCapture() : old_(std::cout.rdbuf(captured_.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(old_); }
    QString Text() const { return QString::fromStdString(captured_.str()); }

private:
    std::ostringstream captured_;
    std::streambuf* old_;
};

QByteArray RedJpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

std::optional<zandrel::tools::ImageHeader> HeaderOf(const QByteArray& bytes) {
    return zandrel::tools::ReadImageHeader(
        std::span<const unsigned char>(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                       static_cast<std::size_t>(bytes.size())));
}

// A real, decodable JPEG whose frame header is made to claim another size: the decoder would
// size its buffer from the claim and then write the scan into it.
QByteArray Claiming(int width, int height) {
    QByteArray bytes = RedJpeg(64, 64);
    const qsizetype frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0) {
        return {};
    }
    bytes[frame + 5] = static_cast<char>(height >> 8);
    bytes[frame + 6] = static_cast<char>(height & 0xFF);
    bytes[frame + 7] = static_cast<char>(width >> 8);
    bytes[frame + 8] = static_cast<char>(width & 0xFF);
    return bytes;
}

bool Write(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class TextureSafetyTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        zandrel::app::UseEditorSurfaceFormat();
        CzandrelEditorView::PrepareApplication();
    }

private slots:
    void initTestCase() {
        // The working folder is a subfolder, so there is an outside to escape to.
        QVERIFY(dir_.isValid());
        QVERIFY(QDir(dir_.path()).mkdir("work"));
        QVERIFY(QDir::setCurrent(dir_.filePath("work")));
        doc_ = std::make_unique<CzandrelEditorDoc>();
        QVERIFY(doc_->OnNewDocument());
        view_ = std::make_unique<CzandrelEditorView>(doc_.get());
        view_->resize(kSize, kSize);
        view_->show();
        QVERIFY(QTest::qWaitForWindowExposed(view_.get()));
        view_->navigator().camera.Set(10.5f, 8.0f, 10.5f, 10.5f, 0.0f, 10.5f, 0.0f, 0.0f, -1.0f);
    }

    void cleanupTestCase() {
        view_.reset();
        doc_.reset();
    }

    void editorFindsItsContext() {
        QCOMPARE(zandrel::app::OpenGLProbe::FailureMessage(), QString());
    }

    void headerReaderAgreesWithARealEncoder() {
        const auto header = HeaderOf(RedJpeg(5, 3));
        QVERIFY(header.has_value());
        QCOMPARE(header->width, 5u);
        QCOMPARE(header->height, 3u);
    }

    // Slot 0 names each file in turn; the centre cell uses slot 0 for its tile.
    void slotDrawsItsImageOnlyWhenSafe_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("loads");
        QTest::newRow("valid 64x64") << "red.jpg" << true;
        QTest::newRow("claims 65000x65000") << "huge.jpg" << false;
        QTest::newRow("claims 65500x21858") << "wide.jpg" << false;
        QTest::newRow("claims 4097x4096") << "budget.jpg" << false;
        QTest::newRow("cut inside its frame header") << "cut.jpg" << false;
        QTest::newRow("not an image") << "text.jpg" << false;
        QTest::newRow("outside the folder") << "../outside.jpg" << false;
        QTest::newRow("absolute") << dir_.filePath("outside.jpg") << false;
        QTest::newRow("link leading outside") << "link.jpg" << false;
        QTest::newRow("FIFO") << "fifo.jpg" << false;
        QTest::newRow("system file") << "/proc/self/environ" << false;
    }

    void slotDrawsItsImageOnlyWhenSafe() {
        QFETCH(QString, name);
        QFETCH(bool, loads);
        if (!QFile::exists("red.jpg")) {
            const QByteArray valid = RedJpeg(64, 64);
            QVERIFY(!Claiming(64, 64).isEmpty());  // the encoder wrote a baseline frame
            QVERIFY(Write("red.jpg", valid));
            QVERIFY(Write("huge.jpg", Claiming(65000, 65000)));
            QVERIFY(Write("wide.jpg", Claiming(65500, 21858)));
            QVERIFY(Write("budget.jpg", Claiming(4097, 4096)));
            QVERIFY(Write("cut.jpg", valid.left(valid.indexOf(QByteArray("\xFF\xC0", 2)) + 6)));
            QVERIFY(Write("text.jpg", "not an image"));
            QVERIFY(Write(dir_.filePath("outside.jpg"), valid));
            QVERIFY(QFile::link(dir_.filePath("outside.jpg"), "link.jpg"));
            QCOMPARE(::mkfifo("fifo.jpg", 0600), 0);
        }
        zandrel::map::MapGrid& grid = doc_->mapGrid();
        QVERIFY(grid.textures[0].Assign(name.toStdString()));
        {
            CoutCapture capture;
            view_->ReloadMapTextures();
            QVERIFY2(capture.Text().startsWith(QStringLiteral("Texture 0:%1\n").arg(name)),
                     qPrintable(capture.Text()));
        }
        QCOMPARE(grid.textureIds[0] != 0, loads);
        // The name stays as the map gave it, to be saved unchanged.
        QCOMPARE(QString::fromStdString(std::string(grid.textures[0].View())), name);
        const QColor centre = view_->grabFramebuffer().pixelColor(kSize / 2, kSize / 2);
        if (loads) {
            QVERIFY2(centre.red() > 200 && centre.green() < 60, qPrintable(centre.name()));
        } else {
            QCOMPARE(centre, QColor(255, 255, 255));  // the cell's plain colour
        }
    }

private:
    QTemporaryDir dir_;
    std::unique_ptr<CzandrelEditorDoc> doc_;
    std::unique_ptr<CzandrelEditorView> view_;
};

QTEST_MAIN(TextureSafetyTest)
#include "texture_safety_test.moc"
