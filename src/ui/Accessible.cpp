#include "Accessible.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFontMetricsF>
#include <QHash>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolButton>
#include <algorithm>
#include <memory>
#include <vector>

#include "BrowserPane.h"
#include "HTMLControls.h"
#include "HTMListBox.h"
#include "MiniHtmlPainter.h"
#include "ReaderText.h"

namespace lorvane {
namespace {

// The property of a list whose items say their place (SayItemPlaces).
const char* const kItemPlaces = "lorvaneItemPlaces";

// A caption without the marks of its access key ("&&" is an "&").
QString WithoutAccessKey(QString caption) {
    caption.replace(QLatin1String("&&"), QStringLiteral("\x01")).remove(u'&');
    return caption.replace(u'\x01', u'&');
}

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
        const QString name = WithoutNonCharacters(MiniHtmlPlainText(list_->Text(row_)));
        const int place = list_->Value(row_);
        if (!list_->property(kItemPlaces).toBool() || place <= 0) return name;
        return QStringLiteral("%1, %2:%3").arg(name).arg(place / 1000).arg(place % 1000);
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

// Whether the widget itself has the focus. QWidget::hasFocus() is also true
// of a widget whose focus proxy has it (a pane, a page's frame, the chapter
// spin around its field): a screen reader would take them all for the
// focus.
bool HasOwnFocus(const QWidget* widget) {
    return QApplication::focusWidget() == widget;
}

// A plain container (a pane, a strip, a page's frame): no focused state of
// its own unless it has the focus itself.
class AccessibleContainer : public QAccessibleWidget {
  public:
    explicit AccessibleContainer(QWidget* widget) : QAccessibleWidget(widget) {}
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = HasOwnFocus(widget());
        return s;
    }
};

// The object name of the widget through which Announce speaks.
const char* const kAnnouncement = "lorvaneAnnouncement";

// What Announce said last: a notification, named by its text.
class AccessibleAnnouncement : public QAccessibleWidget {
  public:
    explicit AccessibleAnnouncement(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return widget()->accessibleName();
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focusable = false;
        s.focused = false;
        return s;
    }
};

// The chapter spin: a spin box with a value in a range.
class AccessibleSpin : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit AccessibleSpin(QWidget* spin) : QAccessibleWidget(spin, QAccessible::SpinBox) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.focused = HasOwnFocus(widget());
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
    QVariant currentValue() const override { return widget()->property("value"); }
    void setCurrentValue(const QVariant& value) override { widget()->setProperty("value", value); }
    QVariant maximumValue() const override { return widget()->property("maximum"); }
    QVariant minimumValue() const override { return widget()->property("minimum"); }
    QVariant minimumStepSize() const override { return 1; }
};

// The field of the chapter spin, where the focus stands: a spin box whose
// value is the spin's, with the field's text. A change of the number is a
// change of value, which a screen reader says.
class AccessibleSpinField : public QAccessibleWidget,
                            public QAccessibleValueInterface,
                            public QAccessibleTextInterface {
  public:
    explicit AccessibleSpinField(QLineEdit* edit) : QAccessibleWidget(edit, QAccessible::SpinBox) {
        QObject::connect(edit, &QLineEdit::textChanged, edit, [edit] {
            if (!QAccessible::isActive() || !edit->hasFocus()) return;
            QAccessibleValueChangeEvent changed(edit, edit->parentWidget()->property("value"));
            QAccessible::updateAccessibility(&changed);
        });
    }

    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    QWidget* Spin() const { return widget()->parentWidget(); }

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

    QVariant currentValue() const override { return Spin()->property("value"); }
    void setCurrentValue(const QVariant& value) override { Spin()->setProperty("value", value); }
    QVariant maximumValue() const override { return Spin()->property("maximum"); }
    QVariant minimumValue() const override { return Spin()->property("minimum"); }
    QVariant minimumStepSize() const override { return 1; }

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

// ---- Text views ------------------------------------------------------------

// The characters of a document as a reader is given them: the document's own
// characters but the non-characters, paragraph and line separators as new
// lines, and the markers of frames and table cells as a new line where one
// is needed to keep words apart. pos[k] is the document position of text[k].
struct ReaderCharacters {
    QString text;
    std::vector<int> pos;
};

ReaderCharacters CharactersOf(const QTextDocument* doc) {
    ReaderCharacters out;
    const QString raw = doc->toRawText();
    const int n = static_cast<int>(std::min<qsizetype>(raw.size(), doc->characterCount() - 1));
    out.text.reserve(n);
    out.pos.reserve(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) {
        QChar c = raw[i];
        if (c.isHighSurrogate() && i + 1 < n && raw[i + 1].isLowSurrogate()) {
            if (!IsNonCharacter(QChar::surrogateToUcs4(c, raw[i + 1]))) {
                out.text += c;
                out.text += raw[i + 1];
                out.pos.push_back(i);
                out.pos.push_back(i + 1);
            }
            ++i;
            continue;
        }
        if (c.unicode() == 0xFDD0 || c.unicode() == 0xFDD1) {
            // The bounds of a frame or of a table cell: a line break, so
            // that cells do not run together, unless one is there already.
            const QChar next = i + 1 < n ? raw[i + 1] : QChar(u'\n');
            const bool breakNext = next == QChar::ParagraphSeparator ||
                                   next == QChar::LineSeparator || next.unicode() == 0xFDD0 ||
                                   next.unicode() == 0xFDD1;
            if (out.text.isEmpty() || out.text.back() == u'\n' || breakNext) continue;
            c = u'\n';
        }
        if (IsNonCharacter(c.unicode())) continue;
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) c = u'\n';
        out.text += c;
        out.pos.push_back(i);
    }
    return out;
}

// A link of a page: its characters [start, end) (reader offsets), its
// address as written and the words it shows.
struct PageLink {
    int start = 0;
    int end = 0;
    QString href;
    QString name;
};

class AccessibleTextView;

// One link of a page shown in a browser pane: a child of the pane's
// document, read from it each time.
class AccessibleLink : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleLink(const AccessibleTextView* view, int index) : view_(view), index_(index) {}

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override;

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    const AccessibleTextView* view_;
    int index_;
};

// A text view: the writing pad's text, and the page of a browser pane, a
// document whose links are its children. Text offsets count the characters
// a reader is given (CharactersOf), not the document's positions.
class AccessibleTextView : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface {
  public:
    AccessibleTextView(QTextEdit* edit, TBrowserPane* pane)
        : QAccessibleWidget(edit, pane ? QAccessible::Document : QAccessible::EditableText),
          pane_(pane),
          changed_(std::make_shared<bool>(true)) {
        if (pane) {
            // Tab moves the selection from link to link: the reader hears
            // the link reached.
            QObject::connect(edit, &QTextEdit::selectionChanged, edit, [edit] {
                if (!QAccessible::isActive() || !edit->hasFocus()) return;
                auto* self =
                    static_cast<AccessibleTextView*>(QAccessible::queryAccessibleInterface(edit));
                const int link = self ? self->LinkAtSelection() : -1;
                if (link < 0 || !self->SelectsWholeLink(link)) return;
                QAccessibleEvent focus(self->child(link), QAccessible::Focus);
                QAccessible::updateAccessibility(&focus);
            });
        }
    }
    ~AccessibleTextView() override {
        for (QAccessible::Id id : std::as_const(links_))
            QAccessible::deleteAccessibleInterface(id);
    }

    QTextEdit* Edit() const { return static_cast<QTextEdit*>(widget()); }
    QTextDocument* Doc() const { return Edit()->document(); }

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface && !Edit()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value && !pane_) return Characters().text;
        return WithoutNonCharacters(QAccessibleWidget::text(t));
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.selectableText = true;
        s.multiLine = true;
        if (Edit()->isReadOnly())
            s.readOnly = true;
        else
            s.editable = true;
        return s;
    }

    // The links are the children; the view's scroll bars are not read.
    int childCount() const override { return static_cast<int>(Links().size()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto it = links_.constFind(index);
        if (it != links_.cend()) return QAccessible::accessibleInterface(*it);
        auto* link = new AccessibleLink(this, index);
        links_.insert(index, QAccessible::registerAccessibleInterface(link));
        return link;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = links_.cbegin(); it != links_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < childCount() ? it.key() : -1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int offset = offsetAtPoint(QPoint(x, y));
        const std::vector<PageLink>& links = Links();
        for (std::size_t i = 0; i < links.size(); ++i)
            if (offset >= links[i].start && offset < links[i].end)
                return child(static_cast<int>(i));
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!Edit()->hasFocus()) return nullptr;
        const int link = LinkAtSelection();
        return link >= 0 ? child(link) : nullptr;
    }

    // -- the links --

    const std::vector<PageLink>& Links() const {
        Refresh();
        return links;
    }

    // The link that the selection covers (where Tab put it), or -1.
    int LinkAtSelection() const {
        const QTextCursor c = Edit()->textCursor();
        if (!c.hasSelection()) return -1;
        const int start = FromDoc(c.selectionStart());
        const std::vector<PageLink>& links = Links();
        for (std::size_t i = 0; i < links.size(); ++i)
            if (start >= links[i].start && start < links[i].end) return static_cast<int>(i);
        return -1;
    }

    // Whether the selection is the link and no more (Tab selected it; a
    // selection made with Shift and the arrows is read as text).
    bool SelectsWholeLink(int index) const {
        const QTextCursor c = Edit()->textCursor();
        const PageLink& link = Links()[static_cast<std::size_t>(index)];
        return FromDoc(c.selectionStart()) == link.start && FromDoc(c.selectionEnd()) == link.end;
    }

    // What a click on the link does.
    void Follow(int index) const {
        if (!pane_ || index < 0 || index >= childCount()) return;
        const QString href = Links()[static_cast<std::size_t>(index)].href;
        pane_->FollowLink(href);
    }

    // Selects the link, as Tab does.
    void Select(int index) const {
        if (index < 0 || index >= childCount()) return;
        const PageLink& link = Links()[static_cast<std::size_t>(index)];
        QTextCursor c(Doc());
        c.setPosition(ToDoc(link.start));
        c.setPosition(ToDoc(link.end), QTextCursor::KeepAnchor);
        Edit()->setFocus(Qt::OtherFocusReason);
        Edit()->setTextCursor(c);
    }

    // The rectangle on the screen of the characters [start, end).
    QRect RangeRect(int start, int end) const {
        QRect r;
        for (int i = start; i < end; ++i)
            r |= characterRect(i);
        return r;
    }

    // -- QAccessibleTextInterface --

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        const QTextCursor c = Edit()->textCursor();
        if (selectionIndex != 0 || !c.hasSelection()) return;
        *startOffset = FromDoc(c.selectionStart());
        *endOffset = FromDoc(c.selectionEnd());
    }
    int selectionCount() const override { return Edit()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex != 0) return;
        QTextCursor c = Edit()->textCursor();
        c.clearSelection();
        Edit()->setTextCursor(c);
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex != 0) return;
        QTextCursor c(Doc());
        c.setPosition(ToDoc(startOffset));
        c.setPosition(ToDoc(endOffset), QTextCursor::KeepAnchor);
        Edit()->setTextCursor(c);
    }
    int cursorPosition() const override { return FromDoc(Edit()->textCursor().position()); }
    void setCursorPosition(int position) override {
        QTextCursor c(Doc());
        c.setPosition(ToDoc(position));
        Edit()->setTextCursor(c);
    }
    QString text(int startOffset, int endOffset) const override {
        const QString& all = Characters().text;
        startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
        endOffset = std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Characters().text.size()); }

    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount()) return {};
        const int pos = ToDoc(offset);
        const QTextBlock block = Doc()->findBlock(pos);
        const QTextLayout* layout = block.isValid() ? block.layout() : nullptr;
        if (!layout) return {};
        const int relative = pos - block.position();
        const QTextLine line = layout->lineForTextPosition(relative);
        if (!line.isValid()) return {};
        const qreal x = line.cursorToX(relative);
        qreal right = relative + 1 <= block.length() - 1 ? line.cursorToX(relative + 1) : x;
        if (right <= x) right = x + QFontMetricsF(Edit()->font()).averageCharWidth();
        QRectF r(x, line.y(), right - x, line.height());
        r.translate(layout->position());
        r.translate(-Edit()->horizontalScrollBar()->value(), -Edit()->verticalScrollBar()->value());
        const QRect local = r.toAlignedRect();
        return QRect(Edit()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    int offsetAtPoint(const QPoint& point) const override {
        const QPoint p =
            Edit()->viewport()->mapFromGlobal(point) +
            QPoint(Edit()->horizontalScrollBar()->value(), Edit()->verticalScrollBar()->value());
        const int pos = Doc()->documentLayout()->hitTest(p, Qt::ExactHit);
        return pos < 0 ? -1 : FromDoc(pos);
    }

    void scrollToSubstring(int startIndex, int) override {
        QTextCursor c(Doc());
        c.setPosition(ToDoc(startIndex));
        const QRect r = Edit()->cursorRect(c);
        QScrollBar* bar = Edit()->verticalScrollBar();
        if (r.top() < 0 || r.bottom() > Edit()->viewport()->height())
            bar->setValue(bar->value() + r.top());
    }

    // The run of characters around `offset` that share one format, in the
    // names the accessibility bus knows (a bridge turns them into its own).
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = offset;
        if (offset < 0 || offset >= characterCount()) return {};
        const int pos = ToDoc(offset);
        const QTextBlock block = Doc()->findBlock(pos);
        QTextCharFormat format = block.charFormat();
        *endOffset = offset + 1;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (pos < f.position() || pos >= f.position() + f.length()) continue;
            format = f.charFormat();
            *startOffset = FromDoc(f.position());
            *endOffset = FromDoc(f.position() + f.length());
            break;
        }
        return FormatAttributes(format) + Alignment(pos);
    }

    // -- QAccessibleEditableTextInterface --

    void deleteText(int startOffset, int endOffset) override {
        replaceText(startOffset, endOffset, QString());
    }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        if (Edit()->isReadOnly()) return;
        QTextCursor c(Doc());
        c.setPosition(ToDoc(startOffset));
        c.setPosition(ToDoc(endOffset), QTextCursor::KeepAnchor);
        c.insertText(text);
    }

  private:
    QString FormatAttributes(const QTextCharFormat& format) const {
        const QFont font = format.font().resolve(Doc()->defaultFont());
        QStringList a;
        if (!font.families().isEmpty())
            a << QStringLiteral("font-family:%1").arg(font.families().constFirst());
        const qreal points = font.pointSizeF();
        if (points > 0) a << QStringLiteral("font-size:%1pt").arg(qRound(points));
        a << QStringLiteral("font-weight:%1").arg(font.weight());
        a << QStringLiteral("font-style:%1")
                 .arg(font.style() == QFont::StyleItalic    ? QStringLiteral("italic")
                      : font.style() == QFont::StyleOblique ? QStringLiteral("oblique")
                                                            : QStringLiteral("normal"));
        const bool underline = format.fontUnderline() || font.underline();
        a << QStringLiteral("text-underline-style:%1")
                 .arg(underline ? QStringLiteral("solid") : QStringLiteral("none"));
        a << QStringLiteral("text-underline-type:%1")
                 .arg(underline ? QStringLiteral("single") : QStringLiteral("none"));
        const QBrush fg = format.foreground();
        const QColor colour =
            fg.style() == Qt::SolidPattern ? fg.color() : Edit()->palette().color(QPalette::Text);
        a << QStringLiteral("color:rgb(%1,%2,%3)")
                 .arg(colour.red())
                 .arg(colour.green())
                 .arg(colour.blue());
        // The pad raises and lowers by a baseline offset, pages by the
        // vertical alignment.
        QString position = QStringLiteral("baseline");
        if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript ||
            format.baselineOffset() > 0)
            position = QStringLiteral("super");
        else if (format.verticalAlignment() == QTextCharFormat::AlignSubScript ||
                 format.baselineOffset() < 0)
            position = QStringLiteral("sub");
        a << QStringLiteral("text-position:") + position;
        return a.join(u';') + u';';
    }

    // The alignment of the paragraph at document position `pos`.
    QString Alignment(int pos) const {
        const Qt::Alignment h =
            Doc()->findBlock(pos).blockFormat().alignment() & Qt::AlignHorizontal_Mask;
        if (h & Qt::AlignHCenter) return QStringLiteral("text-align:center;");
        if (h & Qt::AlignJustify) return QStringLiteral("text-align:justify;");
        if (h & Qt::AlignRight) return QStringLiteral("text-align:right;");
        return QStringLiteral("text-align:left;");
    }

    // The characters and links, read again after every change.
    void Refresh() const {
        if (!*changed_ && doc_ == Doc()) return;
        if (doc_ != Doc()) {
            doc_ = Doc();
            auto changed = changed_;
            QObject::connect(doc_, &QTextDocument::contentsChange, doc_,
                             [changed](int, int, int) { *changed = true; });
        }
        *changed_ = false;
        characters = CharactersOf(Doc());
        links.clear();
        if (!pane_) return;
        for (QTextBlock block = Doc()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                const QTextCharFormat format = f.charFormat();
                if (!format.isAnchor() || format.anchorHref().isEmpty()) continue;
                const int start = FromDocIn(f.position());
                const int end = FromDocIn(f.position() + f.length());
                if (!links.empty() && links.back().href == format.anchorHref() &&
                    links.back().end == start)
                    links.back().end = end;
                else
                    links.push_back({start, end, format.anchorHref(), {}});
            }
        }
        for (PageLink& link : links)
            link.name = characters.text.mid(link.start, link.end - link.start).simplified();
    }

    const ReaderCharacters& Characters() const {
        Refresh();
        return characters;
    }

    // Document position <-> reader offset.
    int FromDocIn(int pos) const {
        return static_cast<int>(
            std::lower_bound(characters.pos.begin(), characters.pos.end(), pos) -
            characters.pos.begin());
    }
    int FromDoc(int pos) const {
        Refresh();
        return FromDocIn(pos);
    }
    int ToDoc(int offset) const {
        const ReaderCharacters& c = Characters();
        if (offset < 0) return 0;
        if (offset >= static_cast<int>(c.pos.size()))
            return std::max(0, Doc()->characterCount() - 1);
        return c.pos[static_cast<std::size_t>(offset)];
    }

    QPointer<TBrowserPane> pane_;
    std::shared_ptr<bool> changed_;
    mutable QPointer<QTextDocument> doc_;
    mutable ReaderCharacters characters;
    mutable std::vector<PageLink> links;
    mutable QHash<int, QAccessible::Id> links_;
};

bool AccessibleLink::isValid() const {
    return view_->isValid() && index_ < view_->childCount();
}
QWindow* AccessibleLink::window() const {
    return view_->window();
}
QAccessibleInterface* AccessibleLink::parent() const {
    return const_cast<AccessibleTextView*>(view_);
}
QString AccessibleLink::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !isValid()) return {};
    return view_->Links()[static_cast<std::size_t>(index_)].name;
}
QRect AccessibleLink::rect() const {
    if (!isValid()) return {};
    const PageLink& link = view_->Links()[static_cast<std::size_t>(index_)];
    return view_->RangeRect(link.start, link.end);
}
QAccessible::State AccessibleLink::state() const {
    QAccessible::State s;
    if (!isValid()) {
        s.invalid = true;
        return s;
    }
    s.focusable = true;
    s.linked = true;
    QWidget* edit = view_->Edit();
    s.focused = edit->hasFocus() && view_->LinkAtSelection() == index_;
    const QRect viewport(edit->mapToGlobal(QPoint(0, 0)), edit->size());
    if (!edit->isVisible() || !viewport.intersects(rect())) s.offscreen = true;
    return s;
}
void AccessibleLink::doAction(const QString& name) {
    if (!isValid()) return;
    if (name == pressAction())
        view_->Follow(index_);
    else if (name == setFocusAction())
        view_->Select(index_);
}

// ---- Tab bars --------------------------------------------------------------

// One tab of a tab bar: selected when it is the current tab, focused only
// when the bar itself has the focus.
class AccessibleTab : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    AccessibleTab(QTabBar* bar, int index) : bar_(bar), index_(index) {}

    bool isValid() const override { return bar_ && index_ >= 0 && index_ < bar_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return bar_ ? bar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return bar_ ? QAccessible::queryAccessibleInterface(bar_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name)
            return WithoutNonCharacters(WithoutAccessKey(bar_->tabText(index_)));
        if (t == QAccessible::Description) return bar_->tabToolTip(index_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
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

    void* interface_cast(QAccessible::InterfaceType t) override {
        return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                 : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    // Choosing the tab, as a click on it does.
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) bar_->setCurrentIndex(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QTabBar> bar_;
    int index_;
};

// A tab bar: a list of page tabs, its tabs and nothing else (not the
// arrows that scroll them).
class AccessibleTabBar : public QAccessibleWidget {
  public:
    explicit AccessibleTabBar(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) {}
    ~AccessibleTabBar() override {
        for (QAccessible::Id id : std::as_const(tabs_))
            QAccessible::deleteAccessibleInterface(id);
    }

    QTabBar* Bar() const { return static_cast<QTabBar*>(widget()); }

    int childCount() const override { return Bar()->count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= Bar()->count()) return nullptr;
        auto it = tabs_.constFind(index);
        if (it != tabs_.cend()) return QAccessible::accessibleInterface(*it);
        auto* tab = new AccessibleTab(Bar(), index);
        tabs_.insert(index, QAccessible::registerAccessibleInterface(tab));
        return tab;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = tabs_.cbegin(); it != tabs_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child)
                return it.key() < Bar()->count() ? it.key() : -1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const int index = Bar()->tabAt(Bar()->mapFromGlobal(QPoint(x, y)));
        return index >= 0 ? child(index) : nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        return Bar()->hasFocus() ? child(Bar()->currentIndex()) : nullptr;
    }

  private:
    mutable QHash<int, QAccessible::Id> tabs_;
};

// ---- Menus -----------------------------------------------------------------

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
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QPointer<QMenu> menu_;
    QPointer<QAction> action_;
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

// ---- Combo boxes -----------------------------------------------------------

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
    if (className == QLatin1String("QLineEdit")) {
        QWidget* parent = static_cast<QWidget*>(object)->parentWidget();
        if (parent && QLatin1String(parent->metaObject()->className()) ==
                          QLatin1String("lorvane::ChapterSpin"))
            return new AccessibleSpinField(static_cast<QLineEdit*>(object));
        return nullptr;
    }
    if (className == QLatin1String("QToolButton"))
        return new AccessibleToolButton(static_cast<QToolButton*>(object));
    if (className == QLatin1String("QWidget") && !static_cast<QWidget*>(object)->isWindow()) {
        if (object->objectName() == QLatin1String(kAnnouncement))
            return new AccessibleAnnouncement(static_cast<QWidget*>(object));
        return new AccessibleContainer(static_cast<QWidget*>(object));
    }
    if (className == QLatin1String("QMenu")) return new AccessibleMenu(static_cast<QMenu*>(object));
    if (className == QLatin1String("QTabBar"))
        return new AccessibleTabBar(static_cast<QTabBar*>(object));
    if (className == QLatin1String("QComboBox"))
        return new AccessibleCombo(static_cast<QComboBox*>(object));
    if (className == QLatin1String("QTextEdit") || className == QLatin1String("QTextBrowser")) {
        // The page of a browser pane is a document with links; any other
        // text view (the writing pad's) is a text.
        auto* edit = static_cast<QTextEdit*>(object);
        auto* pane = qobject_cast<TBrowserPane*>(edit->parent());
        return new AccessibleTextView(edit, pane && pane->Browser() == edit ? pane : nullptr);
    }
    return nullptr;
}

}  // namespace

void Announce(QWidget* near, const QString& text) {
    auto* said =
        near->findChild<QWidget*>(QLatin1String(kAnnouncement), Qt::FindDirectChildrenOnly);
    if (!said) {
        said = new QWidget(near);
        said->setObjectName(QLatin1String(kAnnouncement));
        said->setGeometry(0, 0, 0, 0);
        said->setFocusPolicy(Qt::NoFocus);
        said->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    said->hide();
    said->setAccessibleName(text);
    said->show();
}

void NameMenusByTitle(QMenuBar* bar) {
    for (QAction* a : bar->actions())
        if (QMenu* menu = a->menu()) menu->setAccessibleName(WithoutAccessKey(a->text()));
}

void SayItemPlaces(THTMListBox* list) {
    list->setProperty(kItemPlaces, true);
}

void InstallAccessibility() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    QAccessible::installFactory(Factory);
}

}  // namespace lorvane
