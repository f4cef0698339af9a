#include "AccessibleAnnouncement.h"

#include <QAccessibleWidget>
#include <QWidget>

#include "Accessible.h"

namespace lorvane::a11y {
namespace {

// The object name of the widget through which Announce speaks.
const char* const kAnnouncement = "lorvaneAnnouncement";

// What Announce said last: a notification, named by its text.
class AccessibleAnnouncement : public QAccessibleWidget {
  public:
    explicit AccessibleAnnouncement(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->accessibleName();
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = false;
        s.focused = false;
        return s;
    }
};

}  // namespace

bool IsAnnouncement(const QObject* object) {
    return object->objectName() == QLatin1String(kAnnouncement);
}

QAccessibleInterface* NewAccessibleAnnouncement(QWidget* widget) {
    return new AccessibleAnnouncement(widget);
}

}  // namespace lorvane::a11y

namespace lorvane {

void Announce(QWidget* near, const QString& text) {
    auto* said =
        near->findChild<QWidget*>(QLatin1String(a11y::kAnnouncement), Qt::FindDirectChildrenOnly);
    if (!said) {
        said = new QWidget(near);
        said->setObjectName(QLatin1String(a11y::kAnnouncement));
        said->setGeometry(0, 0, 0, 0);
        said->setFocusPolicy(Qt::NoFocus);
        said->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    said->hide();
    said->setAccessibleName(text);
    said->show();
}

}  // namespace lorvane
