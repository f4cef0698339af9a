// Text changes kept from a screen reader. Qt sends every accessibility
// event through one update handler when one is installed: while a text view
// is quiet, this one drops its text changes and hands every other event on
// to the handler before it, or to the bus.

#include <QAccessible>
#include <QList>
#include <QObject>

#include "Accessible.h"

namespace lorvane {
namespace {

struct Quiet {
    QList<const QObject*> objects;
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
        default:
            break;
    }
    // Handed on as if this handler were not there.
    QAccessible::installUpdateHandler(quiet.before);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(Filter);
}

}  // namespace

QuietTextChanges::QuietTextChanges(QObject* object) : object_(object) {
    Quiet& quiet = State();
    if (quiet.objects.isEmpty()) quiet.before = QAccessible::installUpdateHandler(Filter);
    quiet.objects.append(object_);
}

QuietTextChanges::~QuietTextChanges() {
    Quiet& quiet = State();
    quiet.objects.removeOne(object_);
    if (quiet.objects.isEmpty()) QAccessible::installUpdateHandler(quiet.before);
}

}  // namespace lorvane
