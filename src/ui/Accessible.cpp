#include "Accessible.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>

#include "HTMLControls.h"
#include "HTMListBox.h"
#include "MiniHtmlPainter.h"

namespace lorvane {
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
                const QString caption = MiniHtmlPlainText(Button()->text());
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

// A mini-HTML label: its text as static text.
class AccessibleHtmlLabel : public QAccessibleWidget {
  public:
    explicit AccessibleHtmlLabel(THTMLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
            return MiniHtmlPlainText(static_cast<THTMLabel*>(widget())->Text());
        }
        return QAccessibleWidget::text(t);
    }
};

class AccessibleHtmlList;

// One item of a mini-HTML list. It names its list and its row; what it
// says is read from the list each time.
class AccessibleHtmlListItem : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleHtmlListItem(THTMListBox* list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return list_ && row_ >= 0 && row_ < list_->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name) return {};
        return MiniHtmlPlainText(list_->Text(row_));
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid()) return {};
        const int h = list_->ItemHeight();
        const QRect local(0, (row_ - list_->TopIndex()) * h, list_->viewport()->width(), h);
        return QRect(list_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = true;
        s.focusable = true;
        const bool selected = list_->ItemIndex() == row_;
        s.selected = selected;
        s.focused = selected && list_->hasFocus();
        const int top = list_->TopIndex();
        if (row_ < top || row_ >= top + list_->VisibleCount() || !list_->isVisible())
            s.offscreen = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    // Selecting an item as the reader would: the list's click event runs.
    void doAction(const QString& name) override {
        if (name != pressAction() || !isValid()) return;
        list_->SetItemIndex(row_);
        emit list_->Click(row_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    int Row() const { return row_; }

  private:
    QPointer<THTMListBox> list_;
    int row_;
};

// A mini-HTML list: a list whose children are its items.
class AccessibleHtmlList : public QAccessibleWidget {
  public:
    explicit AccessibleHtmlList(THTMListBox* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~AccessibleHtmlList() override {
        for (QAccessible::Id id : std::as_const(items_))
            QAccessible::deleteAccessibleInterface(id);
    }

    THTMListBox* List() const { return static_cast<THTMListBox*>(widget()); }

    int childCount() const override { return List()->Count(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= List()->Count()) return nullptr;
        auto it = items_.constFind(index);
        if (it != items_.cend()) return QAccessible::accessibleInterface(*it);
        auto* item = new AccessibleHtmlListItem(List(), index);
        items_.insert(index, QAccessible::registerAccessibleInterface(item));
        return item;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = items_.cbegin(); it != items_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < List()->Count() ? it.key() : -1;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = List()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!List()->viewport()->rect().contains(p)) return nullptr;
        return child(List()->TopIndex() + p.y() / List()->ItemHeight());
    }

    QAccessibleInterface* focusChild() const override {
        if (!List()->hasFocus()) return nullptr;
        return child(List()->ItemIndex());
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        return s;
    }

  private:
    mutable QHash<int, QAccessible::Id> items_;
};

// The chapter spin: a spin box with a value in a range.
class AccessibleSpin : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit AccessibleSpin(QWidget* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return currentValue().toString();
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return widget()->property("value"); }
    void setCurrentValue(const QVariant& value) override { widget()->setProperty("value", value); }
    QVariant maximumValue() const override { return widget()->property("maximum"); }
    QVariant minimumValue() const override { return widget()->property("minimum"); }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (auto* list = qobject_cast<THTMListBox*>(object))
        return className == QLatin1String("lorvane::THTMListBox") ? new AccessibleHtmlList(list)
                                                                  : nullptr;
    if (className == QLatin1String("lorvane::THTMLButton"))
        return new AccessibleHtmlButton(static_cast<QAbstractButton*>(object), QAccessible::Button);
    if (className == QLatin1String("lorvane::THTMLRadioButton"))
        return new AccessibleHtmlButton(static_cast<QAbstractButton*>(object),
                                        QAccessible::RadioButton);
    if (className == QLatin1String("lorvane::THTMLabel"))
        return new AccessibleHtmlLabel(static_cast<THTMLabel*>(object));
    if (className == QLatin1String("lorvane::ChapterSpin"))
        return new AccessibleSpin(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

}  // namespace lorvane
