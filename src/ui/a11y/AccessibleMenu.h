#pragma once

#include <QAccessible>

class QMenu;

namespace lorvane::a11y {

// A menu: its entries in the order of its actions, each a check box when it
// can be checked, a menu item otherwise; a menu of the menu bar is the child
// of its entry there; an entry opening a menu is described « sous-menu »
// and gives its underlined letter and its shortcut as its keys.
QAccessibleInterface* NewAccessibleMenu(QMenu* menu);

// The application: its windows, then the context menus shown, whose parent
// it is (Qt leaves popups out of the tree).
QAccessibleInterface* NewAccessibleApplication();

}  // namespace lorvane::a11y
