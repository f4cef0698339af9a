#include "AccessibleHtmlList.h"

#include <QAccessibleWidget>
#include <QPointer>

#include "Accessible.h"
#include "HTMListBox.h"
#include "IndexedChildren.h"
#include "MiniHtmlPainter.h"
#include "ReaderText.h"

namespace lorvane::a11y {
namespace {

// The property of a list whose items say their place (SayItemPlaces).
const char* const kItemPlaces = "lorvaneItemPlaces";

// One item of a mini-HTML list. It names its list and its row; what it
// says is read from the list each time.
class AccessibleHtmlListItem : public IndexedChild {
  public:
    AccessibleHtmlListItem(THTMListBox* list, int row) : list_(list), row_(row) {}

    bool isValid() const override { return list_ && row_ >= 0 && row_ < list_->Count(); }
    QWindow* window() const override { return list_ ? list_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return list_ ? QAccessible::queryAccessibleInterface(list_.data()) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (!isValid() || t != QAccessible::Name) return {};
        const QString name = WithoutNonCharacters(MiniHtmlPlainText(list_->Text(row_)));
        const int place = list_->Value(row_);
        if (!list_->property(kItemPlaces).toBool() || place <= 0) return name;
        return QStringLiteral("%1, %2:%3").arg(name).arg(place / 1000).arg(place % 1000);
    }

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

    QStringList actionNames() const override { return {pressAction()}; }
    // Selecting an item as the reader would: the list's click event runs.
    void doAction(const QString& name) override {
        if (name != pressAction() || !isValid()) return;
        list_->SetItemIndex(row_);
        emit list_->Click(row_);
    }

    int Row() const { return row_; }

  private:
    QPointer<THTMListBox> list_;
    int row_;
};

// A mini-HTML list: a list whose children are its items.
class AccessibleHtmlList : public QAccessibleWidget {
  public:
    explicit AccessibleHtmlList(THTMListBox* list)
        : QAccessibleWidget(list, QAccessible::List), items_(list) {}

    THTMListBox* List() const { return static_cast<THTMListBox*>(widget()); }

    // Children count the items, not a head line: child i is row i + first.
    int childCount() const override { return List()->Count() - List()->FirstItem(); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0) return nullptr;
        return items_.At(index + List()->FirstItem(), List()->Count());
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const int row = items_.IndexOf(child, List()->Count());
        return row < 0 ? -1 : row - List()->FirstItem();
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint p = List()->viewport()->mapFromGlobal(QPoint(x, y));
        if (!List()->viewport()->rect().contains(p)) return nullptr;
        return child(List()->TopIndex() + p.y() / List()->ItemHeight() - List()->FirstItem());
    }

    QAccessibleInterface* focusChild() const override {
        if (!List()->hasFocus()) return nullptr;
        return child(List()->ItemIndex() - List()->FirstItem());
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectable = true;
        return s;
    }

  private:
    IndexedChildren<AccessibleHtmlListItem, THTMListBox*> items_;
};

}  // namespace

QAccessibleInterface* NewAccessibleHtmlList(THTMListBox* list) {
    return new AccessibleHtmlList(list);
}

}  // namespace lorvane::a11y

namespace lorvane {

void SayItemPlaces(THTMListBox* list) {
    list->setProperty(a11y::kItemPlaces, true);
}

}  // namespace lorvane
