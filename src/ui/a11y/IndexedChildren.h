#pragma once

#include <QAccessible>
#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>

namespace lorvane::a11y {

// What the indexed children share: no object and no children of their
// own, a name that cannot be set, and actions without keys of their own.
class IndexedChild : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
};

// The children of an accessible widget that have no object of their own
// (the items of a list, the tabs of a bar, the links of a page), each known
// by its index. A child's interface is made the first time it is asked for,
// as Child(owner, index), and kept (a screen reader holds on to it) until
// the widget's own interface goes. The count is asked each time: a child
// beyond it is no longer there.
template <typename Child, typename Owner>
class IndexedChildren {
  public:
    explicit IndexedChildren(Owner owner) : owner_(owner) {}
    ~IndexedChildren() {
        for (QAccessible::Id id : std::as_const(ids_))
            QAccessible::deleteAccessibleInterface(id);
    }
    IndexedChildren(const IndexedChildren&) = delete;
    IndexedChildren& operator=(const IndexedChildren&) = delete;

    // The child at `index` of `count`, or null outside them.
    QAccessibleInterface* At(int index, int count) const {
        if (index < 0 || index >= count) return nullptr;
        auto it = ids_.constFind(index);
        if (it != ids_.cend()) return QAccessible::accessibleInterface(*it);
        auto* child = new Child(owner_, index);
        ids_.insert(index, QAccessible::registerAccessibleInterface(child));
        return child;
    }

    // The index of `child` among the first `count`, or -1.
    int IndexOf(const QAccessibleInterface* child, int count) const {
        for (auto it = ids_.cbegin(); it != ids_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < count ? it.key() : -1;
        return -1;
    }

  private:
    Owner owner_;
    mutable QHash<int, QAccessible::Id> ids_;
};

}  // namespace lorvane::a11y
