#include "Splash.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

#include "Version.h"

namespace lorvane {

void ClickableImage::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

TFSplash::TFSplash(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName("FSplash");
    setWindowTitle(QString::fromUtf8("A propos de ..."));
    setFixedSize(402, 193);
    // The splash stays on the screen until the end; it never keeps the
    // program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, false);

    Image1 = new ClickableImage(this);
    Image1->setObjectName("Image1");
    Image1->setGeometry(0, 0, 402, 193);
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setPixmap(Artwork());
    connect(Image1, &ClickableImage::clicked, this, &TFSplash::Image1Click);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
    }
}

QPixmap TFSplash::Artwork() {
    QImage image(400, 198, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(QStringLiteral(":/app/splash.svg")).render(&painter, QRectF(0, 0, 400, 198));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QColor(0x5a, 0x44, 0x20));
    painter.drawText(QRect(0, 0, 390, 190), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("version ") + QString::fromLatin1(kFileVersion).left(5));
    return QPixmap::fromImage(image);
}

void TFSplash::Image1Click() {
    // Only the modal About box closes on a click; the start-up splash stays.
    if (testAttribute(Qt::WA_ShowModal)) done(QDialog::Accepted);
}

}  // namespace lorvane
