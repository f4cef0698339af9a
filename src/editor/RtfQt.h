#pragma once

// The writing pad's documents inside Qt: conversions between QTextDocument
// and the RTF codec's documents, and the pad's units in Qt's terms.
//
// Qt lays text out in pixels of 1/96 inch; the documents count indents in
// twips (1/1440 inch) and the pad in points. The vertical offset of
// superscript and subscript is kept in a property of its own (half-points)
// and drawn through Qt's baseline offset, a share of the font's height.

#include <QTextCharFormat>
#include <QTextFormat>

#include "Rtf.h"

class QTextDocument;
class QFont;

namespace lorvane {

inline constexpr int kOffsetProperty = QTextFormat::UserProperty + 1;
inline constexpr double kPixelsPerPoint = 96.0 / 72.0;

double PixelsFromTwips(int twips);
int TwipsFromPixels(double pixels);

// The vertical offset in half-points: the pad's own property, or, for text
// that came in with Qt's superscript or subscript, 6 up or down.
int VerticalOffset(const QTextCharFormat& format);
// Sets the offset of a format whose text is `points` high.
void SetVerticalOffset(QTextCharFormat& format, int halfPoints, double points);

// The size in points that Qt draws a format in: its point size, else its
// pixel size or its size relative to the default (pasted HTML), else the
// default's.
double PointSize(const QTextCharFormat& format, const QFont& base);

rtf::CharFormat CharFromQt(const QTextCharFormat& format, const QFont& base);
QTextCharFormat CharToQt(const rtf::CharFormat& format, const QFont& base);

// The document in the codec's terms: one paragraph per block, line
// separators as '\n', objects (images) left out.
rtf::Document DocumentFromQt(const QTextDocument& doc);
// Replaces the content of doc with the model; the undo history is cleared
// and the document is left unmodified.
void DocumentToQt(const rtf::Document& model, QTextDocument& doc);

}  // namespace lorvane
