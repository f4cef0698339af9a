#pragma once

#include <QAccessible>

namespace lorvane {
class THTMLabel;
}

namespace lorvane::a11y {

// A mini-HTML label: static text, its plain text.
QAccessibleInterface* NewAccessibleHtmlLabel(THTMLabel* label);

}  // namespace lorvane::a11y
