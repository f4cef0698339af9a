#pragma once

// The program's 400 x 198 artwork, the picture of the splash and of the
// About box: the drawing splash.svg with the version in its corner. It is
// drawn once, when the program is built (lorvane-artwork), and the program
// shows that picture: drawing it at each start would read the drawing, find
// its typefaces and lay its text out while the reader waits. The picture is
// kept as its bare pixels (rows of red, green and blue bytes, top first), so
// that showing it needs no image reader: finding one loads every image
// plugin. A QGuiApplication must exist to draw it.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

namespace lorvane {

inline constexpr int kArtworkWidth = 400;
inline constexpr int kArtworkHeight = 198;

QImage DrawArtwork(const QString& svgPath);
// The pixels of a picture drawn by DrawArtwork, and the picture back from
// them; a null image when the bytes are not the size of the artwork.
QByteArray ArtworkPixels(const QImage& image);
QImage ArtworkFromPixels(const QByteArray& pixels);

// The window icon, drawn at build time too: lorvane.svg drawn at the sides
// at which the window system asks a scalable icon for its pictures, kept as
// their premultiplied ARGB pixels one after the other, smallest first.
inline constexpr int kWindowIconSides[] = {16, 32, 64, 128};
QByteArray WindowIconPixels(const QString& svgPath);
// The icon of those pictures; a null icon when the bytes are not their size.
QIcon WindowIconFromPixels(const QByteArray& pixels);

}  // namespace lorvane
