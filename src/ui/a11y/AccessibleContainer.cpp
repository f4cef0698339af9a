#include "AccessibleContainer.h"

#include <QAccessibleWidget>
#include <QWidget>

#include "AccessibleCommon.h"

namespace lorvane::a11y {
namespace {

// A plain container (a pane, a strip, a page's frame): no focused state of
// its own unless it has the focus itself.
class AccessibleContainer : public QAccessibleWidget {
  public:
    explicit AccessibleContainer(QWidget* widget) : QAccessibleWidget(widget) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = HasOwnFocus(widget());
        return s;
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleContainer(QWidget* widget) {
    return new AccessibleContainer(widget);
}

}  // namespace lorvane::a11y
