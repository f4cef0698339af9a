#pragma once

#include <QAccessible>

class QAbstractButton;
class QToolButton;

namespace lorvane::a11y {

// A button or radio button with a mini-HTML caption (`role` says which),
// named by its plain caption, or by its tooltip when the caption is only an
// image; its press or toggle action clicks it.
QAccessibleInterface* NewAccessibleHtmlButton(QAbstractButton* button, QAccessible::Role role);

// A tool button: a button, a check box when it stays down, a menu button
// when it has a menu; its press or toggle action clicks it.
QAccessibleInterface* NewAccessibleToolButton(QToolButton* button);

}  // namespace lorvane::a11y
