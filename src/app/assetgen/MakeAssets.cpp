// Draws the demo textures shipped in assets/, deterministically, so the
// committed files can be made again: zandrel_make_assets <repo root>.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdio>
#include <functional>


namespace {

constexpr int kSize = 64;

// A small fixed pseudo-random sequence: the same pictures on every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    int Next(int range) {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(range));
    }

private:
    std::uint32_t state_;
};

QColor Jitter(const QColor& base, Noise& noise, int amount) {
    const int d = noise.Next(2 * amount + 1) - amount;
    return QColor(qBound(0, base.red() + d, 255), qBound(0, base.green() + d, 255),
                  qBound(0, base.blue() + d, 255));
}

QImage Speckled(const QColor& base, std::uint32_t seed, int amount) {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    Noise noise(seed);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            image.setPixelColor(x, y, Jitter(base, noise, amount));
        }
    }
    return image;
}

QImage Tile() {
    QImage image = Speckled(QColor(170, 170, 160), 1, 12);
    QPainter p(&image);
    p.setPen(QPen(QColor(90, 90, 85), 2));
    p.drawRect(1, 1, kSize - 2, kSize - 2);
    p.drawLine(kSize / 2, 0, kSize / 2, kSize);
    p.drawLine(0, kSize / 2, kSize, kSize / 2);
    return image;
}

QImage Wall() {
    QImage image = Speckled(QColor(150, 70, 50), 2, 15);
    QPainter p(&image);
    p.setPen(QPen(QColor(210, 200, 190), 2));
    for (int row = 0; row < 4; ++row) {
        const int y = row * 16;
        p.drawLine(0, y, kSize, y);
        const int offset = (row % 2) * 16;
        for (int x = offset; x < kSize; x += 32) {
            p.drawLine(x, y, x, y + 16);
        }
    }
    return image;
}

QImage Enemy() {
    QImage image = Speckled(QColor(200, 30, 30), 3, 20);
    QPainter p(&image);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 230, 0));
    for (int k = 0; k < 4; ++k) {
        p.drawEllipse(QPoint(8 + 16 * k, 24), 5, 5);
    }
    p.setBrush(QColor(20, 20, 20));
    p.drawRect(0, 44, kSize, 8);
    return image;
}

QImage Start() {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            const bool dark = ((x / 8) + (y / 8)) % 2 == 0;
            image.setPixelColor(x, y, dark ? QColor(20, 120, 20) : QColor(240, 240, 240));
        }
    }
    return image;
}

QImage Stripes(const QColor& a, const QColor& b, std::uint32_t seed) {
    QImage image = Speckled(a, seed, 10);
    QPainter p(&image);
    p.setPen(QPen(b, 3));
    for (int k = -kSize; k < kSize; k += 12) {
        p.drawLine(k, 0, k + kSize, kSize);
    }
    return image;
}

bool Save(const QImage& image, const QString& path, const char* format, int quality) {
    if (!image.save(path, format, quality)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    const QDir root(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    const QString assets = root.filePath(QStringLiteral("assets"));
    QDir().mkpath(assets);

    const std::vector<std::pair<const char*, QImage>> textures = {
        {"tile.jpg", Tile()},
        {"wall.jpg", Wall()},
        {"enemy.jpg", Enemy()},
        {"start.jpg", Start()},
        {"grass.jpg", Speckled(QColor(60, 150, 50), 4, 25)},
        {"sand.jpg", Speckled(QColor(220, 200, 140), 5, 15)},
        {"rock.jpg", Speckled(QColor(110, 105, 100), 6, 35)},
        {"water.jpg", Stripes(QColor(40, 90, 200), QColor(120, 170, 240), 7)},
        {"ice.jpg", Stripes(QColor(200, 230, 250), QColor(255, 255, 255), 8)},
    };
    bool ok = true;
    for (const auto& [name, image] : textures) {
        ok = Save(image, QDir(assets).filePath(QString::fromLatin1(name)), "JPG", 85) && ok;
    }
    return ok ? 0 : 1;
}
