#pragma once

#include <QAccessible>

class QMenu;

namespace lorvane::a11y {

// A menu: its entries in the order of its actions, each a check box when it
// can be checked, a menu item otherwise; a menu of the menu bar is the child
// of its entry there.
QAccessibleInterface* NewAccessibleMenu(QMenu* menu);

}  // namespace lorvane::a11y
