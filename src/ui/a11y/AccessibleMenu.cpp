#include "AccessibleMenu.h"

#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>

#include "Accessible.h"
#include "AccessibleCommon.h"

namespace lorvane::a11y {
namespace {

// One entry of a menu: a check box when it can be checked, so that a screen
// reader says "coché" or "non coché"; a menu item otherwise.
class AccessibleMenuEntry : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleMenuEntry(QMenu* menu, QAction* action) : menu_(menu), action_(action) {}

    bool isValid() const override { return menu_ && action_; }
    QObject* object() const override { return action_; }
    QWindow* window() const override { return menu_ ? menu_->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return menu_ ? QAccessible::queryAccessibleInterface(menu_.data()) : nullptr;
    }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && action_ && action_->menu()
                   ? QAccessible::queryAccessibleInterface(action_->menu())
                   : nullptr;
    }
    int childCount() const override { return action_ && action_->menu() ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* c) const override {
        return c && c == child(0) ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return WithoutAccessKey(action_->text());
        if (t == QAccessible::Accelerator)
            return action_->shortcut().toString(QKeySequence::NativeText);
        // The bus has no role for an entry that opens a menu: said in words.
        if (t == QAccessible::Description && action_->menu()) return QStringLiteral("sous-menu");
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = menu_->actionGeometry(action_);
        return QRect(menu_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override {
        if (!isValid()) return QAccessible::MenuItem;
        if (action_->isSeparator()) return QAccessible::Separator;
        return action_->isCheckable() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.focusable = true;
        const bool active = menu_->isVisible() && menu_->activeAction() == action_;
        s.focused = active;
        s.selected = active;
        if (action_->isCheckable()) {
            s.checkable = true;
            s.checked = action_->isChecked();
        }
        if (!action_->isEnabled()) s.disabled = true;
        if (!action_->isVisible() || !menu_->isVisible()) s.invisible = s.offscreen = true;
        if (action_->menu()) s.hasPopup = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override {
        if (!isValid() || !action_->isEnabled() || action_->isSeparator()) return {};
        return {action_->isCheckable() ? toggleAction() : pressAction()};
    }
    // As a click on the entry: the menu closes and the entry does its work.
    void doAction(const QString& name) override {
        if (!actionNames().contains(name)) return;
        if (action_->menu()) {
            menu_->setActiveAction(action_);
            return;
        }
        menu_->hide();
        action_->trigger();
    }
    // The entry's keys as a screen reader reads them, "mnemonic;path;key":
    // the underlined letter, and the shortcut that does the same from
    // anywhere (« Ctrl+G »).
    QStringList keyBindingsForAction(const QString& name) const override {
        if (!isValid() || !actionNames().contains(name)) return {};
        const QString shortcut = action_->shortcut().toString(QKeySequence::NativeText);
        const QString text = action_->text();
        const qsizetype amp = text.indexOf(QRegularExpression(QStringLiteral("&[^&]")));
        const QString mnemonic = amp >= 0 ? text.mid(amp + 1, 1).toLower() : QString();
        if (shortcut.isEmpty() && mnemonic.isEmpty()) return {};
        return {mnemonic + QLatin1Char(';') + QLatin1Char(';') + shortcut};
    }

  private:
    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
};

// Whether a menu pops up on its own (a context menu), not from the menu bar
// or from an entry of another menu.
bool PopsUpAlone(QMenu* menu) {
    for (QObject* o : menu->menuAction()->associatedObjects())
        if (qobject_cast<QMenuBar*>(o) || qobject_cast<QMenu*>(o)) return false;
    return true;
}

// The context menus shown now: children of the application on the bus, as
// the windows are, so that a reader and a test find their entries.
QList<QMenu*> ShownPopups() {
    QList<QMenu*> popups;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(w); menu && menu->isVisible() && PopsUpAlone(menu))
            popups.append(menu);
    return popups;
}

// The application: its windows, as Qt gives them, then its context menus.
class AccessibleApplication : public QAccessibleApplication {
  public:
    int childCount() const override {
        return QAccessibleApplication::childCount() + static_cast<int>(ShownPopups().size());
    }
    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows) return QAccessibleApplication::child(index);
        const QList<QMenu*> popups = ShownPopups();
        return index - windows < popups.size()
                   ? QAccessible::queryAccessibleInterface(popups[index - windows])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const int window = QAccessibleApplication::indexOfChild(child);
        if (window >= 0 || !child) return window;
        const qsizetype popup = ShownPopups().indexOf(qobject_cast<QMenu*>(child->object()));
        return popup < 0 ? -1 : QAccessibleApplication::childCount() + static_cast<int>(popup);
    }
};

// A menu: its entries, in the order of its actions (the order in which Qt
// reports the entry that gets the focus).
class AccessibleMenu : public QAccessibleWidget {
  public:
    explicit AccessibleMenu(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}
    ~AccessibleMenu() override {
        for (QAccessible::Id id : std::as_const(entries_))
            QAccessible::deleteAccessibleInterface(id);
    }

    QMenu* Menu() const { return static_cast<QMenu*>(widget()); }

    // A menu of the menu bar is the child of its entry there, as in Qt.
    QAccessibleInterface* parent() const override {
        QAction* own = Menu()->menuAction();
        for (QObject* o : own->associatedObjects()) {
            auto* bar = qobject_cast<QMenuBar*>(o);
            QAccessibleInterface* b = bar ? QAccessible::queryAccessibleInterface(bar) : nullptr;
            const int index = bar ? static_cast<int>(bar->actions().indexOf(own)) : -1;
            if (b && index >= 0)
                if (QAccessibleInterface* entry = b->child(index)) return entry;
        }
        if (Menu()->isVisible() && PopsUpAlone(Menu()))
            return QAccessible::queryAccessibleInterface(qApp);
        return QAccessibleWidget::parent();
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            if (!widget()->accessibleName().isEmpty()) return widget()->accessibleName();
            return WithoutAccessKey(Menu()->title());
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return static_cast<int>(Menu()->actions().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAction*> actions = Menu()->actions();
        if (index < 0 || index >= actions.size()) return nullptr;
        QAction* action = actions[index];
        auto it = entries_.constFind(action);
        if (it != entries_.cend()) return QAccessible::accessibleInterface(*it);
        auto* entry = new AccessibleMenuEntry(Menu(), action);
        entries_.insert(action, QAccessible::registerAccessibleInterface(entry));
        return entry;
    }
    int indexOfChild(const QAccessibleInterface* c) const override {
        for (auto it = entries_.cbegin(); it != entries_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == c)
                return static_cast<int>(Menu()->actions().indexOf(it.key()));
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAction* action = Menu()->actionAt(Menu()->mapFromGlobal(QPoint(x, y)));
        return action ? child(static_cast<int>(Menu()->actions().indexOf(action))) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        QAction* action = Menu()->activeAction();
        return action ? child(static_cast<int>(Menu()->actions().indexOf(action))) : nullptr;
    }

  private:
    mutable QHash<QAction*, QAccessible::Id> entries_;
};

}  // namespace

QAccessibleInterface* NewAccessibleMenu(QMenu* menu) {
    return new AccessibleMenu(menu);
}

QAccessibleInterface* NewAccessibleApplication() {
    return new AccessibleApplication;
}

}  // namespace lorvane::a11y

namespace lorvane {

void NameMenusByTitle(QMenuBar* bar) {
    for (QAction* a : bar->actions())
        if (QMenu* menu = a->menu()) menu->setAccessibleName(a11y::WithoutAccessKey(a->text()));
}

}  // namespace lorvane
