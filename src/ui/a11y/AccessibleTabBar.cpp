#include "AccessibleTabBar.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QTabBar>

#include "AccessibleCommon.h"
#include "IndexedChildren.h"
#include "ReaderText.h"

namespace lorvane::a11y {
namespace {

// One tab of a tab bar: selected when it is the current tab, focused only
// when the bar itself has the focus.
class AccessibleTab : public IndexedChild {
  public:
    AccessibleTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ >= 0 && index_ < bar_->count(); }
    QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return bar_ ? QAccessible::queryAccessibleInterface(bar_.data()) : nullptr;
    }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name)
            return WithoutNonCharacters(WithoutAccessKey(bar_->tabText(index_)));
        if (t == QAccessible::Description) return bar_->tabToolTip(index_);
        return {};
    }
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = bar_->tabRect(index_);
        return QRect(bar_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        s.selectable = true;
        const bool current = bar_->currentIndex() == index_;
        s.selected = current;
        s.focused = current && bar_->hasFocus();
        if (!bar_->isVisible() || !bar_->rect().intersects(bar_->tabRect(index_)))
            s.offscreen = true;
        if (!bar_->isTabEnabled(index_)) s.disabled = true;
        return s;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    // Choosing the tab, as a click on it does.
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) bar_->setCurrentIndex(index_);
    }

  private:
    QPointer<QTabBar> bar_;
    int index_;
};

// A tab bar: a list of page tabs, its tabs and nothing else (not the
// arrows that scroll them).
class AccessibleTabBar : public QAccessibleWidget {
  public:
    explicit AccessibleTabBar(QTabBar* bar)
        : QAccessibleWidget(bar, QAccessible::PageTabList), tabs_(bar) {}

    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }

    int childCount() const override { return Bar()->count(); }
    QAccessibleInterface* child(int index) const override {
        return tabs_.At(index, Bar()->count());
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return tabs_.IndexOf(child, Bar()->count());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Bar()->hasFocus() ? child(Bar()->currentIndex()) : nullptr;
    }

  private:
    IndexedChildren<AccessibleTab, QTabBar*> tabs_;
};

}  // namespace

QAccessibleInterface* NewAccessibleTabBar(QTabBar* bar) {
    return new AccessibleTabBar(bar);
}

}  // namespace lorvane::a11y
