#pragma once

// The program's 400 x 198 artwork, the picture of the splash and of the
// About box: the drawing splash.svg with the version in its corner. It is
// drawn once, when the program is built (lorvane-artwork), and the program
// shows that picture: drawing it at each start would read the drawing, find
// its typefaces and lay its text out while the reader waits. A
// QGuiApplication must exist.

#include <QImage>
#include <QString>

namespace lorvane {

QImage DrawArtwork(const QString& svgPath);

}  // namespace lorvane
