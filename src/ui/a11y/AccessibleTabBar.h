#pragma once

#include <QAccessible>

class QTabBar;

namespace lorvane::a11y {

// A tab bar: a list of page tabs, its tabs and nothing else; a tab is
// focused only when the bar has the focus.
QAccessibleInterface* NewAccessibleTabBar(QTabBar* bar);

}  // namespace lorvane::a11y
