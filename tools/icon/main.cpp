// lorvane-icon: renders the program's SVG icon into square PNG pictures for
// the icon theme of the desktop.
//   lorvane-icon SVG SIZE OUT.png [SIZE OUT.png ...]
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: lorvane-icon SVG SIZE OUT.png [SIZE OUT.png ...]\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "lorvane-icon: %s is not a valid SVG picture\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || size < 1 || size > 4096) {
            std::fprintf(stderr, "lorvane-icon: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(static_cast<int>(size), static_cast<int>(size),
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            svg.render(&painter, QRectF(0, 0, static_cast<qreal>(size), static_cast<qreal>(size)));
        }
        if (!image.save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "lorvane-icon: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
