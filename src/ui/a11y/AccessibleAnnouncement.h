#pragma once

#include <QAccessible>

class QObject;
class QWidget;

namespace lorvane::a11y {

// Whether `object` is the widget through which Announce speaks.
bool IsAnnouncement(const QObject* object);

// What Announce said last: a notification named by its text, never focused.
QAccessibleInterface* NewAccessibleAnnouncement(QWidget* widget);

}  // namespace lorvane::a11y
