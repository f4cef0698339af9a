// Which of the interfaces of this folder a widget gets. Qt asks once per
// class of the widget, from its own class down to QObject, and takes the
// first interface given: the program's own widgets are known by their type,
// Qt's by the class being asked about, so that a widget derived from one of
// Qt's (a mini-HTML combo box) gets the interface of the Qt class it is.

#include <QAccessible>
#include <QComboBox>
#include <QCoreApplication>
#include <QMenu>
#include <QTabBar>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>

#include "Accessible.h"
#include "AccessibleAnnouncement.h"
#include "AccessibleCombo.h"
#include "AccessibleContainer.h"
#include "AccessibleHtmlButton.h"
#include "AccessibleHtmlLabel.h"
#include "AccessibleHtmlList.h"
#include "AccessibleMenu.h"
#include "AccessibleTabBar.h"
#include "AccessibleTextView.h"
#include "BrowserPane.h"
#include "HTMLControls.h"
#include "HTMListBox.h"

namespace lorvane {
namespace {

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (object && object == qApp) return a11y::NewAccessibleApplication();
    if (!object || !object->isWidgetType()) return nullptr;
    if (auto* list = qobject_cast<THTMListBox*>(object)) return a11y::NewAccessibleHtmlList(list);
    if (auto* button = qobject_cast<THTMLButton*>(object))
        return a11y::NewAccessibleHtmlButton(button, QAccessible::Button);
    if (auto* radio = qobject_cast<THTMLRadioButton*>(object))
        return a11y::NewAccessibleHtmlButton(radio, QAccessible::RadioButton);
    if (auto* label = qobject_cast<THTMLabel*>(object)) return a11y::NewAccessibleHtmlLabel(label);
    auto* widget = static_cast<QWidget*>(object);
    if (className == QLatin1String("QToolButton"))
        return a11y::NewAccessibleToolButton(static_cast<QToolButton*>(object));
    if (className == QLatin1String("QWidget") && !widget->isWindow()) {
        if (a11y::IsAnnouncement(object)) return a11y::NewAccessibleAnnouncement(widget);
        return a11y::NewAccessibleContainer(widget);
    }
    // A frame inside a window is a plain container: Qt's role for it (a
    // border) reaches the bus as a frame, which Orca takes for a window of
    // its own and then leaves unread as not active.
    if (className == QLatin1String("QFrame") && !widget->isWindow())
        return a11y::NewAccessibleContainer(widget);
    if (className == QLatin1String("QMenu"))
        return a11y::NewAccessibleMenu(static_cast<QMenu*>(object));
    if (className == QLatin1String("QTabBar"))
        return a11y::NewAccessibleTabBar(static_cast<QTabBar*>(object));
    if (className == QLatin1String("QComboBox"))
        return a11y::NewAccessibleCombo(static_cast<QComboBox*>(object));
    if (className == QLatin1String("QTextEdit") || className == QLatin1String("QTextBrowser")) {
        // The page of a browser pane is a document with links; any other
        // text view (the writing pad's) is a text.
        auto* edit = static_cast<QTextEdit*>(object);
        auto* pane = qobject_cast<TBrowserPane*>(edit->parent());
        return a11y::NewAccessibleTextView(edit, pane && pane->Browser() == edit ? pane : nullptr);
    }
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
