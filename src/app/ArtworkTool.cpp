// lorvane-artwork: draws the program's artwork into a BMP picture, which the
// program carries as a resource.
//   lorvane-artwork SPLASH.svg OUT.bmp
#include <QGuiApplication>
#include <cstdio>

#include "Artwork.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: lorvane-artwork SPLASH.svg OUT.bmp\n");
        return 2;
    }
    // Typefaces need an application, not a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QImage image = lorvane::DrawArtwork(QString::fromLocal8Bit(argv[1]));
    if (!image.save(QString::fromLocal8Bit(argv[2]), "BMP")) {
        std::fprintf(stderr, "lorvane-artwork: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
