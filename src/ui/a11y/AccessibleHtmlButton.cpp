#include "AccessibleHtmlButton.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QAction>
#include <QToolButton>

#include "AccessibleCommon.h"
#include "MiniHtmlPainter.h"
#include "ReaderText.h"

namespace lorvane::a11y {
namespace {

// A button or radio button with a mini-HTML caption.
class AccessibleHtmlButton : public QAccessibleWidget {
  public:
    AccessibleHtmlButton(QAbstractButton* button, QAccessible::Role role)
        : QAccessibleWidget(button, role) {}

    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
                const QString caption = WithoutNonCharacters(MiniHtmlPlainText(Button()->text()));
                return caption.isEmpty() ? widget()->toolTip() : caption;
            }
            case QAccessible::Description:
                if (!widget()->accessibleDescription().isEmpty())
                    return widget()->accessibleDescription();
                // The tooltip, unless it is already the name.
                return MiniHtmlPlainText(Button()->text()).isEmpty() ? QString()
                                                                     : widget()->toolTip();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        QAbstractButton* b = Button();
        if (b->isCheckable()) {
            s.checkable = true;
            s.checked = b->isChecked();
        }
        if (b->isDown()) s.pressed = true;
        return s;
    }

    // QAccessibleWidget is the action interface: press (or toggle) clicks.
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (widget()->isEnabled())
            names.prepend(Button()->isCheckable() ? toggleAction() : pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (widget()->isEnabled() && (name == pressAction() || name == toggleAction()))
            Button()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

// A tool button (the pad's, the tool bar's): its press or toggle action
// clicks it, as the reader's Space does. Qt's own interface only flips the
// state of a button that stays down, without the click that its handlers
// and its action wait for. Whether it stays down and whether it has a menu
// are read each time: the program sets them after the button is made.
class AccessibleToolButton : public AccessibleHtmlButton {
  public:
    explicit AccessibleToolButton(QToolButton* button)
        : AccessibleHtmlButton(button, QAccessible::Button) {}

    QToolButton* Tool() const { return static_cast<QToolButton*>(widget()); }

    QAccessible::Role role() const override {
        if (Tool()->isCheckable()) return QAccessible::CheckBox;
        return Tool()->menu() ? QAccessible::ButtonMenu : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) {
            const QString name = WithoutAccessKey(Button()->text());
            return name.isEmpty() ? widget()->toolTip() : name;
        }
        return AccessibleHtmlButton::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = AccessibleHtmlButton::state();
        if (Tool()->menu()) s.hasPopup = true;
        return s;
    }

    QStringList actionNames() const override {
        QStringList names = AccessibleHtmlButton::actionNames();
        if (Tool()->menu() && widget()->isEnabled()) names << showMenuAction();
        return names;
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() && Tool()->menu() && widget()->isEnabled())
            Tool()->showMenu();
        else
            AccessibleHtmlButton::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        QAction* action = Tool()->defaultAction();
        if (action && !action->shortcut().isEmpty() &&
            (name == pressAction() || name == toggleAction()))
            return {action->shortcut().toString(QKeySequence::NativeText)};
        return AccessibleHtmlButton::keyBindingsForAction(name);
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleHtmlButton(QAbstractButton* button, QAccessible::Role role) {
    return new AccessibleHtmlButton(button, role);
}

QAccessibleInterface* NewAccessibleToolButton(QToolButton* button) {
    return new AccessibleToolButton(button);
}

}  // namespace lorvane::a11y
