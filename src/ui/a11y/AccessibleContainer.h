#pragma once

#include <QAccessible>

class QWidget;

namespace lorvane::a11y {

// A plain container (a pane, a strip, a page's frame): focused only when
// it has the focus itself, not through a focus proxy.
QAccessibleInterface* NewAccessibleContainer(QWidget* widget);

}  // namespace lorvane::a11y
