#include "AccessibleTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessibleWidget>
#include <QFontMetricsF>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "BrowserPane.h"
#include "IndexedChildren.h"
#include "ReaderCharacters.h"
#include "ReaderText.h"

namespace lorvane::a11y {
namespace {

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
class AccessibleLink : public IndexedChild {
  public:
    AccessibleLink(const AccessibleTextView* view, int index) : view_(view), index_(index) {}

    bool isValid() const override;
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QString text(QAccessible::Text t) const override;
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::Link; }
    QAccessible::State state() const override;

    QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
    void doAction(const QString& name) override;

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
          changed_(std::make_shared<bool>(true)),
          links_(this) {
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
    QAccessibleInterface* child(int index) const override { return links_.At(index, childCount()); }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return links_.IndexOf(child, childCount());
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

    // A line is a line on the screen, as the layout broke the paragraph;
    // words, sentences and paragraphs are Qt's own.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                         int* endOffset) const override {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, type, startOffset, endOffset);
        const auto [start, end] = LineAt(offset);
        *startOffset = start;
        *endOffset = end;
        return text(start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                             int* endOffset) const override {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, type, startOffset, endOffset);
        const int start = LineAt(offset).first;
        *startOffset = *endOffset = start;
        if (start <= 0) return {};
        return textAtOffset(start - 1, type, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int* startOffset,
                            int* endOffset) const override {
        if (type != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, type, startOffset, endOffset);
        const int end = LineAt(offset).second;
        *startOffset = *endOffset = end;
        if (end >= characterCount()) return {};
        return textAtOffset(end, type, startOffset, endOffset);
    }

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
        // A colour behind the text: the reader's highlight of a verse.
        const QBrush bg = format.background();
        if (bg.style() == Qt::SolidPattern)
            a << QStringLiteral("background-color:rgb(%1,%2,%3)")
                     .arg(bg.color().red())
                     .arg(bg.color().green())
                     .arg(bg.color().blue());
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
        characters = CharactersOf(Doc(), pane_ && pane_->ColumnsNamed(), pane_ != nullptr);
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

    // The reader offsets [start, end) of the screen line holding `offset`;
    // the last line of a paragraph takes in the break after it, so that
    // lines follow each other with nothing between.
    std::pair<int, int> LineAt(int offset) const {
        const int count = characterCount();
        offset = std::clamp(offset, 0, std::max(0, count - 1));
        const int pos = ToDoc(offset);
        const QTextBlock block = Doc()->findBlock(pos);
        if (!block.isValid()) return {0, count};
        // Laid out up to this paragraph, as the view would once scrolled.
        Doc()->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        const int blockEnd = block.position() + block.length();
        int from = block.position();
        int to = blockEnd;
        if (layout && layout->lineCount() > 1) {
            const QTextLine line = layout->lineForTextPosition(pos - block.position());
            if (line.isValid()) {
                from = block.position() + line.textStart();
                if (line.lineNumber() + 1 < layout->lineCount())
                    to = block.position() + layout->lineAt(line.lineNumber() + 1).textStart();
            }
        }
        const int start = FromDoc(from);
        const int end =
            std::clamp(to >= Doc()->characterCount() ? count : FromDoc(to), start, count);
        return {start, std::max(end, std::min(count, start + 1))};
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
    IndexedChildren<AccessibleLink, const AccessibleTextView*> links_;
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

}  // namespace

QAccessibleInterface* NewAccessibleTextView(QTextEdit* edit, TBrowserPane* pane) {
    return new AccessibleTextView(edit, pane);
}

}  // namespace lorvane::a11y
