#include "BrowserPane.h"

#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <optional>

#include "FocusMark.h"
#include "PageFonts.h"
#include "PageText.h"
#include "QtPath.h"

namespace lorvane {

// The QTextBrowser inside the pane. Qt resolves a link's href before
// reporting it; this view keeps the href as written in the page, which the
// pane needs for the report forms. It never follows links itself, keeps no
// history of its own, and loads only local resources.
class PaneBrowser : public QTextBrowser {
  public:
    explicit PaneBrowser(QWidget* parent) : QTextBrowser(parent) {
        setOpenLinks(false);
        setOpenExternalLinks(false);
        setUndoRedoEnabled(false);
        // A caret that the keys move through the text (and Shift with them
        // selects), as a reader who does not see the page reads it.
        setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
        // Until the reader is in the page, the caret follows the view (a
        // page opened at a verse, a scroll): the keys start where the eyes do.
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
            if (!hasFocus() && !textCursor().hasSelection()) PlaceCaretInView();
        });
        // The page's own default: a serif face of 12 points ("medium"), so
        // that FONT sizes 1 to 7 come out near 8, 10, 12, 14, 17, 21 and 25
        // points, the sizes pages are written for.
        QFont base;
        base.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("serif")});
        base.setPointSize(12);
        setFont(base);
        AddFocusMark(this);
    }

    // The raw href of the link being activated by the current event.
    QString pendingHref;
    // Adds the pane's owner's entries to the context menu.
    std::function<void(QMenu*, const QPoint&)> menuHook;
    // Whether the current event is a key.
    bool byKeys = false;
    // The page to show once the view is shown.
    std::optional<QString> pendingPage;
    QBrush pendingBase;
    // Where to scroll once the view is shown: an anchor (when not null),
    // else a position.
    bool scrollPending = false;
    QString pendingAnchor;
    int pendingScroll = 0;

    // The top of the line that holds the anchor, or nullopt when the page
    // has none of that name.
    std::optional<int> AnchorTop(const QString& name) const {
        const std::optional<QTextFragment> f = FindAnchor(name);
        if (!f) return std::nullopt;
        const QTextBlock block = document()->findBlock(f->position());
        const QRectF box = document()->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        qreal y = box.top();
        if (layout && layout->lineCount() > 0) {
            const QTextLine line = layout->lineForTextPosition(f->position() - block.position());
            if (line.isValid()) y += line.y();
        }
        return static_cast<int>(y);
    }

    // The fragment that holds the anchor; found without laying the page out.
    std::optional<QTextFragment> FindAnchor(const QString& name) const {
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextCharFormat fmt = it.fragment().charFormat();
                if (fmt.isAnchor() && fmt.anchorNames().contains(name)) return it.fragment();
            }
        }
        return std::nullopt;
    }

    // Scrolls to the anchor (when not null; its absence means the top), or
    // else to the position; waits for the view to be shown when it is not,
    // or to settle when it has just been.
    void ScrollTo(const QString& anchor, int position) {
        if (!isVisible() || settling) {
            scrollPending = true;
            pendingAnchor = anchor;
            pendingScroll = position;
            return;
        }
        scrollPending = false;
        Settle();
        // The top of the page needs no layout: the rest of a long page is
        // laid out after the window is on the screen.
        if (anchor.isNull() ? position == 0 : !FindAnchor(anchor)) {
            verticalScrollBar()->setValue(0);
            return;
        }
        // Lay the whole page out first, so that the scroll range is final.
        QTextDocument* doc = document();
        doc->documentLayout()->blockBoundingRect(doc->lastBlock());
        verticalScrollBar()->setValue(anchor.isNull() ? position : AnchorTop(anchor).value_or(0));
    }

    // The position that the view shows or will show.
    int Position() const {
        return scrollPending && pendingAnchor.isNull() ? pendingScroll
                                                       : verticalScrollBar()->value();
    }

    // Shows a page, its BODY bgcolor filling the view (`base` without one).
    // A page given while the view is hidden is parsed when the view is shown
    // (or asked for), and laid out at the width it is shown with: a long
    // page (the glossary) in a pane nobody sees would only delay the window.
    void SetPage(const QString& html, const QBrush& base) {
        pendingPage = html;
        pendingBase = base;
        if (isVisible() && !settling) ApplyPage();
    }
    void DropPage() { pendingPage.reset(); }
    void ApplyPage() {
        if (!pendingPage) return;
        const QString html = std::move(*pendingPage);
        pendingPage.reset();
        // Parsed without a layout; then laid out from the top, the part in
        // view at once and the rest in steps by Qt's layout (or when shown).
        document()->setPageSize(QSizeF(0, 0));
        setHtml(html);
        if (isVisible()) setLineWrapColumnOrWidth(lineWrapColumnOrWidth());
        QPalette pal = viewport()->palette();
        const QBrush bg = document()->rootFrame()->frameFormat().background();
        pal.setBrush(QPalette::Base, bg.style() != Qt::NoBrush ? bg : pendingBase);
        viewport()->setPalette(pal);
    }

    // The page as shown, at once: waiting parts are done now.
    void Ready() {
        ApplyPage();
        if (settling && isVisible()) FinishShowing();
    }
    // Parses the waiting page, and lays it out at the view's width when
    // nothing has yet.
    void Settle() {
        ApplyPage();
        if (document()->pageSize().isNull()) setLineWrapColumnOrWidth(lineWrapColumnOrWidth());
    }

  protected:
    QVariant loadResource(int type, const QUrl& name) override {
        // Regular local files only, of a sensible size: an IMG naming a
        // device or a pipe draws nothing. A refusal must not be a null
        // variant, else the document reads the file itself.
        const QVariant refused = QByteArray();
        if (!name.isLocalFile()) return refused;
        const std::optional<std::string> bytes = ReadRegularFile(PathFromQt(name.toLocalFile()));
        if (!bytes) return refused;
        if (type == QTextDocument::ImageResource)
            return QByteArray(bytes->data(), static_cast<qsizetype>(bytes->size()));
        return DecodePage(*bytes);
    }

    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) pendingHref = anchorAt(e->position().toPoint());
        QTextBrowser::mouseReleaseEvent(e);
        pendingHref.clear();
    }

    void keyPressEvent(QKeyEvent* e) override {
        if (MovesCaret(e->key()) && !textCursor().hasSelection()) PlaceCaretInView();
        if ((e->key() == Qt::Key_Down || e->key() == Qt::Key_Up) &&
            e->modifiers() == Qt::NoModifier) {
            auto* pane = qobject_cast<TBrowserPane*>(parent());
            if (pane && pane->ColumnsNamed() && StepThroughCells(e->key() == Qt::Key_Down)) {
                e->accept();
                return;
            }
        }
        // Ctrl+Home and Ctrl+End: the top and the end of the page.
        if ((e->key() == Qt::Key_Home || e->key() == Qt::Key_End) &&
            (e->modifiers() & ~Qt::KeypadModifier) == Qt::ControlModifier) {
            moveCursor(e->key() == Qt::Key_Home ? QTextCursor::Start : QTextCursor::End);
            verticalScrollBar()->triggerAction(e->key() == Qt::Key_Home
                                                   ? QAbstractSlider::SliderToMinimum
                                                   : QAbstractSlider::SliderToMaximum);
            e->accept();
            return;
        }
        // The view keeps no history: its own Alt+Left/Right would do nothing.
        if ((e->modifiers() & Qt::AltModifier) &&
            (e->key() == Qt::Key_Left || e->key() == Qt::Key_Right || e->key() == Qt::Key_Up)) {
            e->ignore();
            return;
        }
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
            textCursor().hasSelection()) {
            // The link that Tab selected: the one just after the selection's start.
            QTextCursor c = textCursor();
            c.setPosition(c.selectionStart());
            c.movePosition(QTextCursor::NextCharacter);
            // A link that Page Down scrolled out of view is not followed.
            if (!viewport()->rect().intersects(cursorRect(c))) {
                e->accept();
                return;
            }
            pendingHref = c.charFormat().anchorHref();
        } else if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            // The caret on a link: Enter follows it.
            QTextCursor c = textCursor();
            c.movePosition(QTextCursor::NextCharacter);
            const QString href = c.charFormat().anchorHref();
            if (!href.isEmpty() && c.charFormat().isAnchor()) {
                pendingHref = href;
                byKeys = true;
                emit anchorClicked(QUrl(href));
                byKeys = false;
                pendingHref.clear();
                e->accept();
                return;
            }
        }
        byKeys = true;
        QTextBrowser::keyPressEvent(e);
        byKeys = false;
        pendingHref.clear();
    }

    // The pane's own menu: the addresses of links belong to the program, so
    // there is nothing to copy of them.
    void contextMenuEvent(QContextMenuEvent* e) override {
        auto* menu = new QMenu(this);
        menu->setObjectName("BrowserPaneMenu");
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction* copy = menu->addAction(QStringLiteral("Copier"), this, &QTextEdit::copy);
        copy->setShortcut(QKeySequence::Copy);
        copy->setEnabled(textCursor().hasSelection());
        QAction* all =
            menu->addAction(QStringLiteral("Tout sélectionner"), this, &QTextEdit::selectAll);
        all->setShortcut(QKeySequence::SelectAll);
        all->setEnabled(!document()->isEmpty());
        // From the keyboard (the Menu key, Shift+F10) the menu is the
        // caret's: its verse, the menu beside it, its first entry reached
        // so that a screen reader says where the keys are.
        const bool byKeys = e->reason() == QContextMenuEvent::Keyboard;
        const QPoint at = byKeys ? cursorRect().center() : e->pos();
        if (menuHook) menuHook(menu, at);
        menu->popup(byKeys ? viewport()->mapToGlobal(cursorRect().bottomLeft()) : e->globalPos());
        if (byKeys)
            for (QAction* a : menu->actions())
                if (a->isEnabled() && !a->isSeparator()) {
                    menu->setActiveAction(a);
                    break;
                }
        e->accept();
    }

    // Tab and Shift+Tab move from link to link by selecting the link; the
    // view does not report that move as a change of selection by itself.
    bool focusNextPrevChild(bool next) override {
        const QTextCursor before = textCursor();
        const bool moved = QTextBrowser::focusNextPrevChild(next);
        if (moved && textCursor() != before) emit selectionChanged();
        return moved;
    }

    // A page that waited for the view to be shown is parsed and laid out
    // just after the view's window has been asked onto the screen, before
    // its first painting: the window manager maps the window meanwhile.
    // A page or a place given meanwhile waits with it. Whoever asks the view
    // for its page earlier gets it at once (Ready).
    void showEvent(QShowEvent* e) override {
        QTextBrowser::showEvent(e);
        if (settling) return;
        settling = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (settling && isVisible()) FinishShowing();
                settling = false;
            },
            Qt::QueuedConnection);
    }

    // The keyboard's way into the page: the caret goes to the first line in
    // view (once the focus is there, so that a screen reader hears the page
    // and then that line).
    void focusInEvent(QFocusEvent* e) override {
        QTextBrowser::focusInEvent(e);
        if (e->reason() == Qt::MouseFocusReason) return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (hasFocus() && !textCursor().hasSelection()) PlaceCaretInView();
            },
            Qt::QueuedConnection);
    }

  private:
    // Down from the last line of a cell of a table goes to the next cell
    // that holds text, in reading order (the row from left to right, then
    // the next row), Up from its first line to the end of the one before;
    // false where the caret stays in its cell or leaves the table.
    bool StepThroughCells(bool down) {
        const QTextCursor c = textCursor();
        QTextTable* table = c.currentTable();
        if (!table) return false;
        const QTextTableCell cell = table->cellAt(c);
        QTextCursor probe = c;
        if (probe.movePosition(down ? QTextCursor::Down : QTextCursor::Up) &&
            probe.currentTable() == table && table->cellAt(probe) == cell)
            return false;
        int row = cell.row();
        int col = cell.column();
        for (;;) {
            if (down) {
                col += std::max(1, table->cellAt(row, col).columnSpan());
                if (col >= table->columns()) col = 0, ++row;
            } else if (--col < 0) {
                col = table->columns() - 1;
                --row;
            }
            if (row < 0 || row >= table->rows()) return LeaveTable(table, down);
            const QTextTableCell next = table->cellAt(row, col);
            if (next.row() != row || next.column() != col) continue;    // spanned
            if (next.lastPosition() <= next.firstPosition()) continue;  // empty
            QTextCursor to(document());
            to.setPosition(down ? next.firstPosition() : next.lastPosition());
            if (!down) to.movePosition(QTextCursor::StartOfLine);
            setTextCursor(to);
            ensureCursorVisible();
            return true;
        }
    }

    // Out of a table, to the first line with text after it (the next
    // table's first cell, one verse a table) or the last one before it.
    bool LeaveTable(QTextTable* table, bool down) {
        QTextCursor to =
            down ? table->cellAt(table->rows() - 1, table->columns() - 1).lastCursorPosition()
                 : table->cellAt(0, 0).firstCursorPosition();
        const auto step = down ? QTextCursor::NextBlock : QTextCursor::PreviousBlock;
        do {
            if (!to.movePosition(step)) return false;
        } while (to.block().length() <= 1);
        if (!down) {
            to.movePosition(QTextCursor::EndOfBlock);
            to.movePosition(QTextCursor::StartOfLine);
        }
        setTextCursor(to);
        ensureCursorVisible();
        return true;
    }

    static bool MovesCaret(int key) {
        switch (key) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Home:
            case Qt::Key_End:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                return true;
            default:
                return false;
        }
    }

    // A caret out of view (the page was scrolled, or opened at a verse)
    // comes to the start of the first whole line in view.
    void PlaceCaretInView() {
        const QRect view = viewport()->rect();
        const QRect caret = cursorRect();
        if (view.contains(caret.topLeft()) && view.contains(caret.bottomLeft())) return;
        QTextCursor c = cursorForPosition(QPoint(1, 1));
        if (cursorRect(c).top() < 0) c.movePosition(QTextCursor::Down);
        c.movePosition(QTextCursor::StartOfLine);
        setTextCursor(c);
    }

    void FinishShowing() {
        settling = false;
        Settle();
        if (scrollPending) ScrollTo(pendingAnchor, pendingScroll);
    }

    bool settling = false;
};

TBrowserPane::TBrowserPane(QWidget* parent) : QWidget(parent), view_(new PaneBrowser(this)) {
    InstallPageFonts();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    heads_ = new QWidget(this);
    heads_->setObjectName("ColumnHeads");
    heads_->setAutoFillBackground(true);
    heads_->setBackgroundRole(QPalette::Base);
    heads_->hide();
    layout->addWidget(heads_);
    layout->addWidget(view_);
    setFocusProxy(view_);
    view_->menuHook = [this](QMenu* menu, const QPoint& point) { emit ContextMenu(menu, point); };
    connect(view_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        QString href = view_->pendingHref;
        if (href.isEmpty()) href = url.toString(QUrl::FullyDecoded);
        LinkActivated(href);
    });
}

TBrowserPane::~TBrowserPane() = default;

void TBrowserPane::SetColumnHeads(const QStringList& heads, const QStringList& tips) {
    if (heads + tips == headsShown_ && heads_->isVisibleTo(this) == !heads.isEmpty()) return;
    headsShown_ = heads + tips;
    delete heads_->layout();
    qDeleteAll(heads_->findChildren<QLabel*>(Qt::FindDirectChildrenOnly));
    heads_->setVisible(!heads.isEmpty());
    if (heads.isEmpty()) return;
    // As the page's columns: the same share of the width each, the
    // scroll bar's width left on the right.
    auto* row = new QHBoxLayout(heads_);
    const int bar = view_->verticalScrollBar()->sizeHint().width();
    row->setContentsMargins(8, 3, 8 + bar, 3);
    row->setSpacing(6);
    for (qsizetype i = 0; i < heads.size(); ++i) {
        auto* label = new QLabel(heads[i], heads_);
        label->setTextFormat(Qt::PlainText);
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
        QPalette navy = label->palette();
        navy.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));
        label->setPalette(navy);
        if (i < tips.size()) label->setToolTip(tips[i]);
        row->addWidget(label, 1);
    }
}

int TBrowserPane::ScrollPosition() const {
    return view_->Position();
}

void TBrowserPane::SetScrollPosition(int position) {
    view_->ScrollTo(QString(), std::max(0, position));
}

void TBrowserPane::ScrollToAnchor(const QString& name) {
    view_->ScrollTo(name.isNull() ? QStringLiteral("") : name, 0);
}

// The last name of an anchor that names a place; those whose name starts
// with a dot mark a word inside the text, not a place of the page.
static QString PlaceName(const QStringList& names) {
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        if (!it->startsWith(QLatin1Char('.'))) return *it;
    return {};
}

QString TBrowserPane::AnchorBefore(int position) const {
    view_->Ready();
    QString name;
    for (QTextBlock block = view_->document()->begin(); block.isValid(); block = block.next()) {
        if (block.position() > position) break;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() > position) return name;
            const QString last = PlaceName(f.charFormat().anchorNames());
            if (!last.isEmpty()) name = last;
        }
    }
    return name;
}

QString TBrowserPane::WordMarkBefore(int position, int* markPosition) const {
    view_->Ready();
    const QTextBlock block = view_->document()->findBlock(position);
    QString name;
    for (auto it = block.begin(); block.isValid() && !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.position() > position) break;
        for (const QString& n : f.charFormat().anchorNames())
            if (n.startsWith(QLatin1Char('.'))) {
                name = n;
                if (markPosition) *markPosition = f.position();
            }
    }
    return name;
}

QString TBrowserPane::AnchorAt(const QPoint& point) const {
    view_->Ready();
    return AnchorBefore(view_->cursorForPosition(point).position());
}

QString TBrowserPane::AnchorAtTop() const {
    view_->Ready();
    // In a page scrolled down, an anchor on the top line shown wins over the
    // one before it, whose text ends on that line.
    const QTextCursor top = view_->cursorForPosition(QPoint(4, 4));
    if (view_->verticalScrollBar()->value() == 0) return AnchorBefore(top.position());
    const int lineBottom = view_->cursorRect(top).bottom();
    for (QTextBlock b = top.block(); b.isValid() && b.position() < top.position() + 4000;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= top.position()) continue;
            const QString name = PlaceName(f.charFormat().anchorNames());
            if (name.isEmpty()) continue;
            QTextCursor at(view_->document());
            at.setPosition(std::max(f.position(), top.position()));
            if (view_->cursorRect(at).top() > lineBottom) return AnchorBefore(top.position());
            return name;
        }
    }
    return AnchorBefore(top.position());
}

void TBrowserPane::Mark(const QStringList& anchors, int milliseconds) {
    view_->Ready();
    QTextDocument* doc = view_->document();
    QList<QTextEdit::ExtraSelection> marks;
    for (const QString& from : anchors) {
        int start = -1;
        if (!from.isEmpty()) {
            const std::optional<QTextFragment> f = view_->FindAnchor(from);
            if (!f) continue;
            start = f->position();
        }
        // The mark ends before the next anchor, link or heading.
        const int last = doc->characterCount() - 1;
        int end = last;
        bool seenText = false;
        for (QTextBlock block = doc->findBlock(std::max(start, 0)); block.isValid() && end == last;
             block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment f = it.fragment();
                const QTextCharFormat fmt = f.charFormat();
                if (start < 0) {
                    if (!IsVerseNumber(fmt)) continue;
                    start = f.position();  // the page's first verse
                }
                if (f.position() + f.length() <= start) continue;
                const bool stop =
                    (fmt.isAnchor() && !fmt.anchorHref().isEmpty()) ||
                    (f.position() > start && !fmt.anchorNames().isEmpty()) ||
                    (seenText && fmt.fontWeight() >= QFont::Bold && !IsVerseNumber(fmt));
                if (stop) {
                    end = f.position();
                    break;
                }
                if (!f.text().trimmed().isEmpty()) seenText = true;
            }
        }
        if (start < 0 || end <= start) continue;
        // A mark that begins in a row of a table ends with the row: a
        // selection running out of a table would take in the whole of the
        // next one.
        QTextCursor at(doc);
        at.setPosition(start);
        if (QTextTable* table = at.currentTable()) {
            const int row = table->cellAt(at).row();
            end = std::min(end, table->cellAt(row, table->columns() - 1).lastPosition());
        }
        QTextEdit::ExtraSelection mark;
        mark.cursor = QTextCursor(doc);
        mark.cursor.setPosition(start);
        mark.cursor.setPosition(end, QTextCursor::KeepAnchor);
        mark.format.setBackground(QColor(255, 243, 176));
        marks.append(mark);
    }
    view_->setExtraSelections(marks);
    if (marks.isEmpty()) return;
    // The caret on the verse, for screen readers; the view stays where it is.
    PutCaret(marks.first().cursor.selectionStart());
    if (!markTimer_) {
        markTimer_ = new QTimer(this);
        markTimer_->setSingleShot(true);
        connect(markTimer_, &QTimer::timeout, this, [this] { view_->setExtraSelections({}); });
    }
    markTimer_->start(milliseconds);
}

int TBrowserPane::AnchorPosition(const QString& name) const {
    view_->Ready();
    const std::optional<QTextFragment> f = view_->FindAnchor(name);
    return f ? f->position() : -1;
}

void TBrowserPane::PutCaret(int position) {
    view_->Ready();
    QTextCursor caret(view_->document());
    caret.setPosition(std::clamp(position, 0, view_->document()->characterCount() - 1));
    const bool pending = view_->scrollPending;
    const int keep = view_->verticalScrollBar()->value();
    view_->setTextCursor(caret);
    if (!pending) view_->verticalScrollBar()->setValue(keep);
}

bool TBrowserPane::HasMark() const {
    return !view_->extraSelections().isEmpty();
}

QTextBrowser* TBrowserPane::Browser() const {
    view_->Ready();
    return view_;
}

bool TBrowserPane::FollowingByKeyboard() const {
    return view_->byKeys;
}

QString TBrowserPane::LocationURL() const {
    return index_ >= 0 ? history_[static_cast<std::size_t>(index_)].target.report : QString();
}

QString TBrowserPane::LocationPath() const {
    return index_ >= 0 ? history_[static_cast<std::size_t>(index_)].target.path : QString();
}

void TBrowserPane::Navigate(const QString& url) {
    Go(TargetOfNavigate(url, LocationPath()), Move::New);
}

void TBrowserPane::GoBack() {
    if (CanGoBack()) Go(history_[static_cast<std::size_t>(index_ - 1)].target, Move::Back);
}

void TBrowserPane::GoForward() {
    if (CanGoForward()) Go(history_[static_cast<std::size_t>(index_ + 1)].target, Move::Forward);
}

void TBrowserPane::FollowLink(const QString& href) {
    LinkActivated(href);
}

void TBrowserPane::LinkActivated(const QString& href) {
    const QString h = href.trimmed();
    if (h.isEmpty()) return;
    Go(TargetOfLink(h, LocationPath()), Move::New);
}

void TBrowserPane::Go(NavTarget target, Move move) {
    // A handler that keeps navigating this pane from inside its own event
    // would never end; past a generous depth such navigations are dropped.
    if (depth_ > 16) return;
    bool cancel = false;
    const unsigned generation = generation_;
    {
        QPointer<TBrowserPane> self(this);
        ++depth_;
        emit BeforeNavigate2(target.report, &cancel);
        if (!self) return;
        --depth_;
    }
    if (cancel) return;
    // A handler that navigated this pane itself has moved the history: a
    // step back or forward from where it was no longer means anything.
    if (move != Move::New && generation != generation_) return;

    ++generation_;
    view_->setExtraSelections({});
    if (index_ >= 0) history_[static_cast<std::size_t>(index_)].scroll = view_->Position();
    int restore = -1;
    switch (move) {
        case Move::New:
            if (index_ < 0 || !(history_[static_cast<std::size_t>(index_)].target == target)) {
                history_.resize(static_cast<std::size_t>(index_ + 1));
                history_.push_back({target, 0});
                ++index_;
            }
            break;
        case Move::Back:
            --index_;
            restore = history_[static_cast<std::size_t>(index_)].scroll;
            break;
        case Move::Forward:
            ++index_;
            restore = history_[static_cast<std::size_t>(index_)].scroll;
            break;
    }
    const NavTarget shown = history_[static_cast<std::size_t>(index_)].target;
    Load(shown);
    ScrollTo(shown, restore);
    emit PageShown(shown.report);
}

void TBrowserPane::Refresh() {
    if (index_ < 0) return;
    const NavTarget shown = history_[static_cast<std::size_t>(index_)].target;
    const int scroll = view_->Position();
    if (Load(shown)) ScrollTo(shown, shown.hasAnchor ? -1 : scroll);
    emit PageShown(shown.report);
}

bool TBrowserPane::Load(const NavTarget& target) {
    if (!target.local) {
        ShowMessage(
            QStringLiteral("L'adresse « %1 » ne peut pas être affichée.").arg(target.report));
        return true;
    }
    const std::optional<std::string> read = ReadRegularFile(PathFromQt(target.path));
    if (!read) {
        ShowMessage(QStringLiteral("La page « %1 » est introuvable.").arg(target.path));
        return true;
    }
    const QByteArray bytes(read->data(), static_cast<qsizetype>(read->size()));
    if (loadedValid_ && loadedPath_ == target.path && loadedBytes_ == bytes) return false;

    QTextDocument* doc = view_->document();
    const qsizetype slash = target.path.lastIndexOf(u'/');
    doc->setBaseUrl(QUrl::fromLocalFile(target.path.left(slash + 1)));
    view_->SetPage(
        DecodePage(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))),
        palette().brush(QPalette::Base));
    loadedPath_ = target.path;
    loadedBytes_ = bytes;
    loadedValid_ = true;
    return true;
}

void TBrowserPane::ShowMessage(const QString& text) {
    view_->DropPage();
    view_->document()->setBaseUrl(QUrl());
    view_->setPlainText(text);
    QPalette pal = view_->viewport()->palette();
    pal.setBrush(QPalette::Base, palette().brush(QPalette::Base));
    view_->viewport()->setPalette(pal);
    loadedValid_ = false;
    loadedPath_.clear();
    loadedBytes_.clear();
}

void TBrowserPane::ScrollTo(const NavTarget& target, int restoreScroll) {
    if (restoreScroll >= 0)
        view_->ScrollTo(QString(), restoreScroll);
    else if (target.hasAnchor && loadedValid_)
        view_->ScrollTo(target.anchor.isNull() ? QStringLiteral("") : target.anchor, 0);
    else
        view_->ScrollTo(QString(), 0);
}

}  // namespace lorvane
