#include "Artwork.h"

#include <QFont>
#include <QPainter>
#include <QSvgRenderer>

#include "Version.h"

namespace lorvane {

QImage DrawArtwork(const QString& svgPath) {
    QImage image(400, 198, QImage::Format_RGB888);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QSvgRenderer(svgPath).render(&painter, QRectF(0, 0, 400, 198));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    painter.setFont(font);
    painter.setPen(QColor(0x5a, 0x44, 0x20));
    painter.drawText(QRect(0, 0, 390, 190), Qt::AlignRight | Qt::AlignBottom,
                     QStringLiteral("version ") + QString::fromLatin1(kFileVersion).left(5));
    return image;
}

}  // namespace lorvane
