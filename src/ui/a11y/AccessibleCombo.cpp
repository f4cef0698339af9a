#include "AccessibleCombo.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>
#include <algorithm>

#include "ReaderText.h"

namespace lorvane::a11y {
namespace {

// A combo box named by what it is for (its accessible name: "Livre",
// "Police"...), its current item as its value and as its text; Qt's own
// interface names a combo box by its current item on this platform.
class AccessibleCombo : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit AccessibleCombo(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {
        addControllingSignal(QStringLiteral("currentIndexChanged(int)"));
        // The new value, as the text of the box put in (and selected, as in
        // a field that the choice fills): a screen reader says it, while
        // the change of value that Qt reports carries only the box's name.
        QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [combo] {
            if (!QAccessible::isActive() || !combo->hasFocus()) return;
            const QString value = WithoutNonCharacters(combo->currentText());
            if (value.isEmpty()) return;
            QAccessibleTextInsertEvent inserted(combo, 0, value);
            QAccessible::updateAccessibility(&inserted);
        });
    }

    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }
    QString Value() const { return WithoutNonCharacters(Combo()->currentText()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Value();
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return Value();
        return WithoutNonCharacters(QAccessibleWidget::text(t));
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.hasPopup = true;
        const bool open = Combo()->view()->isVisible();
        s.expanded = open;
        s.collapsed = !open;
        if (Combo()->isEditable()) s.editable = true;
        return s;
    }

    // The list that drops down, then the field of an editable box.
    int childCount() const override { return Combo()->lineEdit() ? 2 : 1; }
    QAccessibleInterface* child(int index) const override {
        if (index == 0) return QAccessible::queryAccessibleInterface(Combo()->view());
        if (index == 1 && Combo()->lineEdit())
            return QAccessible::queryAccessibleInterface(Combo()->lineEdit());
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < childCount(); ++i)
            if (this->child(i) == child) return i;
        return -1;
    }

    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == showMenuAction() || name == pressAction())
            Combo()->view()->isVisible() ? Combo()->hidePopup() : Combo()->showPopup();
        else
            QAccessibleWidget::doAction(name);
    }

    // The value as a read-only text, selected whole.
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = selectionIndex == 0 ? characterCount() : 0;
    }
    int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override {
        const QString v = Value();
        startOffset = std::clamp(startOffset, 0, static_cast<int>(v.size()));
        endOffset = std::clamp(endOffset, startOffset, static_cast<int>(v.size()));
        return v.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Value().size()); }
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }
};

}  // namespace

QAccessibleInterface* NewAccessibleCombo(QComboBox* combo) {
    return new AccessibleCombo(combo);
}

}  // namespace lorvane::a11y
