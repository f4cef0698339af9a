#pragma once

// Lays out and draws parsed mini-HTML (MiniHtml.h) with QPainter. The
// mini-HTML widgets are thin shells around this.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <vector>

#include "ImageList.h"
#include "MiniHtml.h"

class QPainter;
class QWidget;

namespace lorvane {

std::vector<minihtml::Item> ParseMiniHtml(const QString& text);
// What a reader hears of a text: minihtml::PlainTextOf.
QString MiniHtmlPlainText(const QString& text);

// The colour of a FONT color value; system colours follow the palette.
QColor ResolveColor(const minihtml::Color& color, const QPalette& palette);

// What a text is drawn with: the widget's own font and colour, the palette
// for system colours, the image list for IMG and the scale of images and
// IND positions (the screen's pixels per inch over 96).
struct MiniHtmlContext {
    QFont font;
    QColor color;
    QPalette palette;
    ImageList images;
    qreal scale = 1.0;

    // The font, text colour, palette and scale of a widget.
    static MiniHtmlContext Of(const QWidget* widget, const ImageList& images);
};

// A text laid out in lines. Each line is as high as its tallest text and its
// tallest image; text is centred vertically against taller images.
class MiniHtmlLayout {
  public:
    MiniHtmlLayout() = default;
    MiniHtmlLayout(const std::vector<minihtml::Item>& items, const MiniHtmlContext& context);

    QSizeF Size() const { return size_; }
    int LineCount() const { return lines_; }

    // Draws with the layout's top-left corner at origin. With a valid shadow
    // colour, the text is first drawn in that colour shifted by
    // shadowOffset. `colorOverride`, when valid, replaces the context's own
    // colour (a selected list item's text); FONT colours keep theirs.
    void Draw(QPainter& painter, QPointF origin, const QColor& colorOverride = QColor(),
              const QColor& shadow = QColor(), QPointF shadowOffset = QPointF()) const;

  private:
    struct Piece {
        QRectF rect;  // text: x, baseline y, width; image: its box
        QString text;
        QFont font;
        QColor color;    // invalid: the context's own colour
        int image = -1;  // >= 0 for an image
    };
    std::vector<Piece> pieces_;
    ImageList images_;
    QColor ownColor_;
    QSizeF size_;
    int lines_ = 0;
};

}  // namespace lorvane
