#include "AccessibleChapterSpin.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLineEdit>
#include <algorithm>

#include "ChapterSpin.h"

namespace lorvane {
namespace {

// The value of the spin in its range, the same on the spin and on its
// field. A value set is the reader's own change.
class SpinValue : public QAccessibleValueInterface {
  public:
    explicit SpinValue(ChapterSpin* spin) : spin_(spin) {}

    QVariant currentValue() const override { return spin_->Value(); }
    void setCurrentValue(const QVariant& value) override { spin_->SetValueByReader(value.toInt()); }
    QVariant maximumValue() const override { return spin_->Maximum(); }
    QVariant minimumValue() const override { return spin_->Minimum(); }
    QVariant minimumStepSize() const override { return 1; }

  private:
    ChapterSpin* spin_;  // the spin, or the parent of the field: gone with it
};

// The chapter spin: a spin box with a value in a range.
class AccessibleChapterSpin : public QAccessibleWidget, public SpinValue {
  public:
    explicit AccessibleChapterSpin(ChapterSpin* spin)
        : QAccessibleWidget(spin, QAccessible::SpinBox), SpinValue(spin) {}

    // Focused only when the spin itself has the focus: its field, its focus
    // proxy, has it, and says so itself.
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = QApplication::focusWidget() == widget();
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return currentValue().toString();
        return QAccessibleWidget::text(t);
    }
};

// The field of the chapter spin, where the focus stands: a spin box whose
// value is the spin's, with the field's text. A change of the number is a
// change of value, which a screen reader says.
class AccessibleChapterSpinField : public QAccessibleWidget,
                                   public SpinValue,
                                   public QAccessibleTextInterface {
  public:
    AccessibleChapterSpinField(QLineEdit* edit, ChapterSpin* spin)
        : QAccessibleWidget(edit, QAccessible::SpinBox), SpinValue(spin) {
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit, spin] {
            if (!QAccessible::isActive() || !edit->hasFocus()) return;
            QAccessibleValueChangeEvent changed(edit, spin->Value());
            QAccessible::updateAccessibility(&changed);
        });
    }

    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return Edit()->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = true;
        s.selectableText = true;
        return s;
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || !Edit()->hasSelectedText()) return;
        *startOffset = Edit()->selectionStart();
        *endOffset = Edit()->selectionEnd();
    }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int) override { Edit()->deselect(); }
    void setSelection(int, int startOffset, int endOffset) override {
        Edit()->setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override {
        const QString all = Edit()->text();
        startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
        endOffset = std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    QRect characterRect(int) const override {
        const QRect r = Edit()->rect();
        return QRect(Edit()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        return {};
    }
};

QAccessibleInterface* ChapterSpinFactory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (auto* spin = qobject_cast<ChapterSpin*>(object)) return new AccessibleChapterSpin(spin);
    if (className != QLatin1String("QLineEdit")) return nullptr;
    auto* edit = static_cast<QLineEdit*>(object);
    auto* spin = qobject_cast<ChapterSpin*>(edit->parentWidget());
    return spin && spin->Edit() == edit ? new AccessibleChapterSpinField(edit, spin) : nullptr;
}

}  // namespace

void InstallChapterSpinAccessibility() {
    QAccessible::installFactory(ChapterSpinFactory);
}

}  // namespace lorvane
