#pragma once

#include <QString>

class QWidget;

namespace lorvane::a11y {

// A caption without the marks of its access key ("&&" is an "&").
QString WithoutAccessKey(QString caption);

// Whether the widget itself has the focus. QWidget::hasFocus() is also true
// of a widget whose focus proxy has it (a pane, a page's frame, the chapter
// spin around its field): a screen reader would take them all for the
// focus.
bool HasOwnFocus(const QWidget* widget);

}  // namespace lorvane::a11y
