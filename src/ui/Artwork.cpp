#include "Artwork.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>
#include <cstring>

#include "Version.h"

namespace lorvane {

QImage DrawArtwork(const QString& svgPath) {
    QImage image(kArtworkWidth, kArtworkHeight, QImage::Format_RGB888);
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

QByteArray ArtworkPixels(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const qsizetype row = qsizetype(rgb.width()) * 3;
    QByteArray pixels;
    pixels.reserve(row * rgb.height());
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), row);
    return pixels;
}

QImage ArtworkFromPixels(const QByteArray& pixels) {
    constexpr qsizetype kRow = qsizetype(kArtworkWidth) * 3;
    if (pixels.size() != kRow * kArtworkHeight) return {};
    QImage image(kArtworkWidth, kArtworkHeight, QImage::Format_RGB888);
    for (int y = 0; y < kArtworkHeight; ++y)
        std::memcpy(image.scanLine(y), pixels.constData() + y * kRow, kRow);
    return image;
}

QByteArray WindowIconPixels(const QString& svgPath) {
    const QIcon icon(svgPath);
    QByteArray pixels;
    for (int side : kWindowIconSides) {
        const QImage image = icon.pixmap(QSize(side, side), 1.0)
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.size() != QSize(side, side)) return {};
        for (int y = 0; y < side; ++y)
            pixels.append(reinterpret_cast<const char*>(image.constScanLine(y)), side * 4);
    }
    return pixels;
}

QIcon WindowIconFromPixels(const QByteArray& pixels) {
    qsizetype total = 0;
    for (int side : kWindowIconSides)
        total += qsizetype(side) * side * 4;
    if (pixels.size() != total) return {};
    QIcon icon;
    qsizetype at = 0;
    for (int side : kWindowIconSides) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < side; ++y, at += side * 4)
            std::memcpy(image.scanLine(y), pixels.constData() + at, side * 4);
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace lorvane
