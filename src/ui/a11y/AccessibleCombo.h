#pragma once

#include <QAccessible>

class QComboBox;

namespace lorvane::a11y {

// A combo box named by what it is for, its current item as its value and
// as its text; a new item chosen is reported as that text put in.
QAccessibleInterface* NewAccessibleCombo(QComboBox* combo);

}  // namespace lorvane::a11y
