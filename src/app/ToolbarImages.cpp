#include "app/ToolbarImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygon>
#include <array>

namespace zandrel::app {

namespace {

// The 16 colours every image is drawn in.
const QColor kBlack(0, 0, 0);
const QColor kMaroon(128, 0, 0);
const QColor kGreen(0, 128, 0);
const QColor kOlive(128, 128, 0);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kGray(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kRed(255, 0, 0);
const QColor kLime(0, 255, 0);
const QColor kYellow(255, 255, 0);
const QColor kBlue(0, 0, 255);
const QColor kWhite(255, 255, 255);

void Page(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawPolygon(
        QPolygon({QPoint(2, 1), QPoint(9, 1), QPoint(12, 4), QPoint(12, 13), QPoint(2, 13)}));
    p.drawLine(9, 1, 9, 4);
    p.drawLine(9, 4, 12, 4);
}

void Folder(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kYellow);
    p.drawRect(1, 4, 11, 8);
    p.setBrush(kOlive);
    p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(12, 12), QPoint(1, 12)}));
}

void Disk(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kNavy);
    p.drawRect(1, 1, 13, 12);
    p.setBrush(kWhite);
    p.drawRect(4, 1, 7, 5);
    p.setBrush(kSilver);
    p.drawRect(4, 9, 7, 4);
}

void Scissors(QPainter& p) {
    p.setPen(kNavy);
    p.drawLine(4, 1, 10, 9);
    p.drawLine(11, 1, 5, 9);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(2, 9, 4, 4);
    p.drawEllipse(9, 9, 4, 4);
}

void Copy(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawRect(1, 1, 8, 9);
    p.drawRect(6, 4, 8, 10);
    p.setPen(kNavy);
    for (int y = 7; y <= 11; y += 2) {
        p.drawLine(8, y, 12, y);
    }
}

void Clipboard(QPainter& p, const QColor& sheet) {
    p.setPen(kBlack);
    p.setBrush(kOlive);
    p.drawRect(1, 2, 10, 12);
    p.setBrush(kSilver);
    p.drawRect(4, 1, 4, 2);
    p.setBrush(sheet);
    p.drawRect(6, 6, 8, 8);
}

void Merge(QPainter& p) {
    Clipboard(p, kWhite);
    p.setPen(kRed);
    p.drawLine(8, 10, 12, 10);
    p.drawLine(10, 8, 10, 12);
}

void About(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kYellow);
    p.drawEllipse(2, 1, 11, 12);
    p.setPen(kBlue);
    p.drawLine(7, 3, 8, 3);
    p.drawLine(7, 6, 7, 11);
    p.drawLine(8, 6, 8, 11);
}

// A small terrain patch seen from above at an angle: the grid of most terrain buttons.
void Grid(QPainter& p, const QColor& line) {
    p.setPen(line);
    for (int k = 0; k <= 3; ++k) {
        const double t = k / 3.0;
        p.drawLine(QPointF(1 + 7 * t, 13), QPointF(7 + 7 * t, 7));
        p.drawLine(QPointF(1 + 6 * t, 13 - 6 * t), QPointF(8 + 6 * t, 13 - 6 * t));
    }
}

void Wireframe(QPainter& p) {
    Grid(p, kBlack);
}

void Solid(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kGreen);
    p.drawPolygon(QPolygon({QPoint(1, 13), QPoint(7, 7), QPoint(14, 7), QPoint(8, 13)}));
    p.setPen(kLime);
    p.drawLine(3, 12, 9, 8);
}

void Ground(QPainter& p) {
    p.setPen(kGray);
    p.drawLine(0, 13, 15, 13);
}

void Flatten(QPainter& p) {
    Ground(p);
    p.setPen(kBlack);
    p.setBrush(kOlive);
    p.drawRect(2, 9, 12, 3);
    p.setPen(kRed);
    p.drawLine(8, 1, 8, 6);
    p.drawLine(6, 4, 8, 6);
    p.drawLine(10, 4, 8, 6);
}

void Raise(QPainter& p) {
    Ground(p);
    p.setPen(kBlack);
    p.setBrush(kOlive);
    p.drawRect(4, 7, 8, 5);
    p.setPen(kRed);
    p.drawLine(8, 1, 8, 5);
    p.drawLine(6, 3, 8, 1);
    p.drawLine(10, 3, 8, 1);
}

void Tilt(QPainter& p) {
    Ground(p);
    p.setPen(kBlack);
    p.setBrush(kOlive);
    p.drawPolygon(QPolygon({QPoint(1, 12), QPoint(14, 3), QPoint(14, 12)}));
}

void Level(QPainter& p) {
    Ground(p);
    p.setPen(kBlack);
    p.setBrush(kTeal);
    p.drawRect(1, 6, 13, 6);
    p.setPen(kWhite);
    p.drawLine(3, 8, 12, 8);
}

void Landslide(QPainter& p) {
    Ground(p);
    p.setPen(kBlack);
    p.setBrush(kMaroon);
    QPainterPath slope;
    slope.moveTo(1, 12);
    slope.cubicTo(4, 2, 10, 12, 14, 12);
    slope.closeSubpath();
    p.drawPath(slope);
}

void Pyramid(QPainter& p) {
    Ground(p);
    p.setPen(kBlack);
    p.setBrush(kYellow);
    p.drawPolygon(QPolygon({QPoint(1, 12), QPoint(8, 2), QPoint(14, 12)}));
    p.setBrush(kOlive);
    p.drawPolygon(QPolygon({QPoint(8, 2), QPoint(14, 12), QPoint(9, 12)}));
}

void Start(QPainter& p) {
    p.setPen(kBlack);
    p.drawLine(3, 1, 3, 14);
    p.setBrush(kLime);
    p.drawPolygon(QPolygon({QPoint(4, 1), QPoint(13, 4), QPoint(4, 7)}));
}

void Goal(QPainter& p) {
    p.setPen(kBlack);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) {
            p.setBrush(((x + y) % 2 == 0) ? kBlack : kWhite);
            p.drawRect(2 + 4 * x, 2 + 4 * y, 3, 3);
        }
    }
}

void Enemies(QPainter& p) {
    p.setPen(kBlack);
    p.setBrush(kRed);
    p.drawEllipse(2, 2, 11, 11);
    p.setBrush(kWhite);
    p.drawRect(4, 5, 2, 2);
    p.drawRect(9, 5, 2, 2);
    p.drawLine(5, 10, 10, 10);
}

using Painter = void (*)(QPainter&);

const std::array<Painter, ToolbarImages::kCount>& Painters() {
    static const std::array<Painter, ToolbarImages::kCount> painters = {
        Page,   Folder, Disk,      Scissors, Copy,    [](QPainter& p) { Clipboard(p, kWhite); },
        Merge,  About,  Wireframe, Solid,    Flatten, Raise,
        Tilt,   Level,  Landslide, Pyramid,  Start,   Goal,
        Enemies};
    return painters;
}

QImage Draw(int index) {
    QImage image(ToolbarImages::kWidth, ToolbarImages::kHeight, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    Painters().at(static_cast<std::size_t>(index))(painter);
    return image;
}

}  // namespace

QImage ToolbarImages::Strip() {
    QImage strip(kCount * kWidth, kHeight, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    for (int k = 0; k < kCount; ++k) {
        painter.drawImage(k * kWidth, 0, Draw(k));
    }
    return strip;
}

QIcon ToolbarImages::Button(int index) {
    if (index < 0 || index >= kCount) {
        return {};
    }
    return QIcon(QPixmap::fromImage(Draw(index)));
}

QImage ToolbarImages::AppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    // A raised block of terrain on a tiled ground, with the start flag.
    p.setPen(QPen(kBlack, 1));
    p.setBrush(kGreen);
    p.drawPolygon(QPolygonF({QPointF(2, 22), QPointF(16, 14), QPointF(30, 22), QPointF(16, 30)}));
    p.setBrush(kOlive);
    p.drawPolygon(QPolygonF({QPointF(9, 18), QPointF(16, 14), QPointF(23, 18), QPointF(23, 11),
                             QPointF(16, 7), QPointF(9, 11)}));
    p.setBrush(kYellow);
    p.drawPolygon(QPolygonF({QPointF(9, 11), QPointF(16, 7), QPointF(23, 11), QPointF(16, 15)}));
    p.setPen(QPen(kBlack, 1.5));
    p.drawLine(QPointF(16, 11), QPointF(16, 1));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({QPointF(16.5, 1), QPointF(25, 3.5), QPointF(16.5, 6)}));
    return image;
}

}  // namespace zandrel::app
