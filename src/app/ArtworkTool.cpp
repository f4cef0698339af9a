// lorvane-artwork: draws the program's artwork into a file of its pixels,
// which the program carries as a resource.
//   lorvane-artwork SPLASH.svg OUT.rgb
#include <QFile>
#include <QGuiApplication>
#include <cstdio>

#include "Artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lorvane-artwork SPLASH.svg OUT.rgb\n");
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
    return 0;
}
