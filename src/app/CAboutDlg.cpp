#include "app/CAboutDlg.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "app/ToolbarImages.h"

namespace zandrel::app {

namespace {
// Dialog units of the box's layout: a quarter of the average character width horizontally
// and an eighth of the font height vertically.
struct DialogUnits {
    double x;
    double y;
    QRect Rect(int left, int top, int width, int height) const {
        return QRect(qRound(left * x), qRound(top * y), qRound(width * x), qRound(height * y));
    }
};
}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("Informazioni su zandrelEditor"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);

    QFont dialogFont = font();
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    const QFontMetrics metrics(dialogFont);
    const DialogUnits du{metrics.averageCharWidth() / 4.0, metrics.height() / 8.0};
    setFixedSize(du.Rect(0, 0, 235, 55).size());

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    const QRect iconRect = du.Rect(11, 17, 20, 20);
    icon->setGeometry(iconRect);
    icon->setPixmap(
        QPixmap::fromImage(ToolbarImages::AppIcon(qMin(iconRect.width(), iconRect.height()))));

    auto* name = new QLabel(QStringLiteral("zandrelEditor Ver 1.0.4"), this);
    name->setObjectName(QStringLiteral("aboutName"));
    name->setTextFormat(Qt::PlainText);
    name->setGeometry(du.Rect(40, 10, 119, 8));

    auto* second = new QLabel(QStringLiteral("Editor di mappe 3D"), this);
    second->setObjectName(QStringLiteral("aboutLine2"));
    second->setTextFormat(Qt::PlainText);
    second->setGeometry(du.Rect(40, 25, 119, 8));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("aboutOk"));
    ok->setGeometry(du.Rect(178, 7, 50, 16));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace zandrel::app
