#pragma once

#include <QAccessible>

namespace lorvane {
class THTMListBox;
}

namespace lorvane::a11y {

// A mini-HTML list: a list whose children are its items, each named by its
// plain text (and its place, after SayItemPlaces), selected and focused as
// the list's selection is.
QAccessibleInterface* NewAccessibleHtmlList(THTMListBox* list);

}  // namespace lorvane::a11y
