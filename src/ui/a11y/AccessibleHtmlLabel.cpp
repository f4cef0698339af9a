#include "AccessibleHtmlLabel.h"

#include <QAccessibleWidget>
#include <QWidget>

#include "HTMLControls.h"
#include "MiniHtmlPainter.h"
#include "ReaderText.h"

namespace lorvane::a11y {
namespace {

// A mini-HTML label: its text as static text.
class AccessibleHtmlLabel : public QAccessibleWidget {
  public:
    explicit AccessibleHtmlLabel(THTMLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
            return WithoutNonCharacters(
                MiniHtmlPlainText(static_cast<THTMLabel*>(widget())->Text()));
        }
        return QAccessibleWidget::text(t);
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleHtmlLabel(THTMLabel* label) {
    return new AccessibleHtmlLabel(label);
}

}  // namespace lorvane::a11y
