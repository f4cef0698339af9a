// Text changes and focus kept from a screen reader. Qt sends every
// accessibility event through one update handler when one is installed:
// while a widget is quiet, this one drops its text changes (or its focus)
// and hands every other event on to the handler before it, or to the bus.

#include <QAccessible>
#include <QList>
#include <QObject>

#include "Accessible.h"

namespace lorvane {
namespace {

struct Quiet {
    QList<const QObject*> objects;  // their text changes kept back
    QList<const QObject*> focuses;  // their focus kept back
    QAccessible::UpdateHandler before = nullptr;
};

Quiet& State() {
    static Quiet quiet;
    return quiet;
}

void Filter(QAccessibleEvent* event) {
    Quiet& quiet = State();
    switch (event->type()) {
        case QAccessible::TextInserted:
        case QAccessible::TextRemoved:
        case QAccessible::TextUpdated:
            if (quiet.objects.contains(event->object())) return;
            break;
        case QAccessible::Focus:
        case QAccessible::Selection:
            if (quiet.focuses.contains(event->object())) return;
            break;
        default:
            break;
    }
    // Handed on as if this handler were not there.
    QAccessible::installUpdateHandler(quiet.before);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Filter);
}

}  // namespace

namespace {

void Hold(QList<const QObject*> Quiet::*list, const QObject* object) {
    Quiet& quiet = State();
    if (quiet.objects.isEmpty() && quiet.focuses.isEmpty())
        quiet.before = QAccessible::installUpdateHandler(Filter);
    (quiet.*list).append(object);
}

void Release(QList<const QObject*> Quiet::*list, const QObject* object) {
    Quiet& quiet = State();
    (quiet.*list).removeOne(object);
    if (quiet.objects.isEmpty() && quiet.focuses.isEmpty())
        QAccessible::installUpdateHandler(quiet.before);
}

}  // namespace

QuietTextChanges::QuietTextChanges(QObject* object) : object_(object) {
    Hold(&Quiet::objects, object_);
}

QuietTextChanges::~QuietTextChanges() {
    Release(&Quiet::objects, object_);
}

QuietFocus::QuietFocus(QObject* object) : object_(object) {
    Hold(&Quiet::focuses, object_);
}

QuietFocus::~QuietFocus() {
    Release(&Quiet::focuses, object_);
}

}  // namespace lorvane
