#pragma once

// The mark of the keyboard focus: a frame two pixels wide in the program's
// blue inside a dark blue edge, drawn around a control while it has the focus, whatever the style
// and whether the focus came from the keyboard or the mouse.
//   DrawFocusMark(painter, rect)  for a widget that paints itself;
//   AddFocusMark(view)            for a scrolled view (text, list), whose
//                                 content would scroll a mark drawn in it:
//                                 the frame is a child laid over the view.

#include <QColor>
#include <QRect>

class QPainter;
class QWidget;

namespace lorvane {

// The blue of the program's title strips.
inline QColor FocusMarkColor() {
    return QColor(0, 128, 255);
}
inline QColor FocusMarkEdgeColor() {
    return QColor(0, 48, 112);
}

void DrawFocusMark(QPainter& painter, const QRect& rect);
void AddFocusMark(QWidget* view);

}  // namespace lorvane
