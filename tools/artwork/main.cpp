// lorvane-artwork: draws the program's artwork and its window icon into
// files of their pixels, which the program carries as resources.
//   lorvane-artwork SPLASH.svg OUT.rgb ICON.svg ICON-OUT.argb
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "Artwork.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: lorvane-artwork SPLASH.svg OUT.rgb ICON.svg ICON-OUT.argb\n");
        return 2;
    }
    // Typefaces need an application, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QImage image = lorvane::DrawArtwork(QString::fromLocal8Bit(argv[1]));
    const QByteArray pixels = lorvane::ArtworkPixels(image);
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (image.isNull() || !out.open(QIODevice::WriteOnly) || out.write(pixels) != pixels.size() ||
        !out.flush()) {
        std::fprintf(stderr, "lorvane-artwork: cannot write %s\n", argv[2]);
        return 1;
    }
    const QByteArray icon = lorvane::WindowIconPixels(QString::fromLocal8Bit(argv[3]));
    QFile iconOut(QString::fromLocal8Bit(argv[4]));
    if (icon.isEmpty() || !iconOut.open(QIODevice::WriteOnly) ||
        iconOut.write(icon) != icon.size() || !iconOut.flush()) {
        std::fprintf(stderr, "lorvane-artwork: cannot write %s\n", argv[4]);
        return 1;
    }
    return 0;
}
