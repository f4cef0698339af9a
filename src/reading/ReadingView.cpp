#include "ReadingView.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextTable>
#include <QTimer>
#include <optional>

#include "Accessible.h"
#include "BibleNames.h"
#include "BrowserPane.h"
#include "ChapterPage.h"
#include "Comparison.h"
#include "ErrorDisplay.h"
#include "Navigation.h"
#include "NoteWindows.h"
#include "QtPath.h"
#include "QtText.h"
#include "Quote.h"

namespace lorvane {
namespace {

constexpr int kMarkMilliseconds = 4000;
// A move this soon after the focus came into the page brought it there.
constexpr qint64 kFocusMoveMilliseconds = 300;

qint64 Now() {
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}

// A verse number as the page writer marks it.
bool IsVerseNumberFormat(const QTextCharFormat& f) {
    return f.fontWeight() >= QFont::Bold && f.foreground().color() == QColor(QRgb(kVerseNumberRgb));
}

void PutOnClipboard(const QString& text) {
    auto* mime = new QMimeData;
    mime->setText(text);
    mime->setHtml(QStringLiteral("<html><body><p>%1</p></body></html>").arg(text.toHtmlEscaped()));
    QApplication::clipboard()->setMimeData(mime);
}

}  // namespace

ReadingView::ReadingView(ReadingCore& reading, TBrowserPane* pane, QObject* parent)
    : QObject(parent), reading_(reading), pane_(pane) {
    reading_.Subscribe(this);
    pane_->SetVerseNumberTest(IsVerseNumberFormat);
    reading_.SetViewReport(
        [this] { return Leaving(pane_->ScrollPosition(), VerseAt(QPoint()), LayoutKey()); });
    connect(pane_, &TBrowserPane::ContextMenu, this, [this](QMenu* menu, const QPoint& point) {
        // The verse of the column under the point, in that column's Bible.
        const ColumnVerse at = ColumnVerseAt(point);
        menu->addSeparator();
        menu->addAction(QStringLiteral("Copier le verset"), this, GuardedSlot([this, at] {
                            CopyVerse(at.verse, false, at.column, at.chapter);
                        }))
            ->setObjectName("CopierVerset");
        menu->addAction(
                QStringLiteral("Copier le verset avec sa référence"), this,
                GuardedSlot([this, at] { CopyVerse(at.verse, true, at.column, at.chapter); }))
            ->setObjectName("CopierVersetReference");
        if (!notes_ || at.verse < 1) return;
        // Over a selection of several verses of the Bible read: all of them.
        int first = at.verse, last = at.verse;
        std::size_t column = at.column;
        int chapter = at.chapter;
        const QTextCursor selection = pane_->Browser()->textCursor();
        if (selection.hasSelection()) {
            bool ok = false, okLast = false;
            const int from = pane_->AnchorBefore(selection.selectionStart()).toInt(&ok);
            const int end = std::max(selection.selectionStart(), selection.selectionEnd() - 1);
            const int to = pane_->AnchorBefore(end).toInt(&okLast);
            if (ok && okLast && to > from) {
                first = from;
                last = to;
                column = 0;
                chapter = 0;
            }
        }
        menu->addSeparator();
        menu->addAction(QStringLiteral("Annoter ce verset..."), this,
                        GuardedSlot([this, first, last, column, chapter] {
                            Annotate(first, last, column, chapter);
                        }))
            ->setObjectName("AnnoterVerset");
        QMenu* colours = menu->addMenu(QStringLiteral("Surligner"));
        colours->setObjectName("Surligner");
        for (Colour c : {Colour::Jaune, Colour::Vert, Colour::Bleu, Colour::Rose, Colour::Orange}) {
            const QString name = QString::fromUtf8(ColourName(c).data(),
                                                   static_cast<qsizetype>(ColourName(c).size()));
            QAction* action =
                colours->addAction(name, this, GuardedSlot([this, first, last, column, chapter, c] {
                                       Highlight(first, last, c, column, chapter);
                                   }));
            action->setObjectName(QStringLiteral("Surligner_") + name);
        }
        colours->addSeparator();
        colours
            ->addAction(QStringLiteral("Effacer le surlignage"), this,
                        GuardedSlot([this, first, last, column, chapter] {
                            Highlight(first, last, Colour::None, column, chapter);
                        }))
            ->setObjectName("EffacerSurlignage");
    });
    pane_->Browser()->viewport()->installEventFilter(this);
    pane_->Browser()->installEventFilter(this);

    // The verse the reader is at: the caret's as it moves in the page, or
    // the one at the top once a scroll settles.
    QTextBrowser* view = pane_->Browser();
    connect(view, &QTextBrowser::cursorPositionChanged, this, [this, view] {
        if (!showing_ && view->hasFocus())
            Guarded([this] {
                reading_.SetVerseRead(VerseReached());
                const std::optional<WordAnchor> word = WordAtCaret();
                const QString name =
                    word ? QString::fromStdString(WordAnchorName(*word)) : QString();
                if (word && name != lastWord_) emit WordReached(*word);
                lastWord_ = name;
            });
    });
    auto* settle = new QTimer(this);
    settle->setSingleShot(true);
    settle->setInterval(150);
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, settle,
            qOverload<>(&QTimer::start));
    connect(settle, &QTimer::timeout, this, [this, view] {
        if (!showing_ && !view->hasFocus())
            Guarded([this] { reading_.SetVerseRead(VerseAt(QPoint())); });
    });
}

std::optional<WordAnchor> ReadingView::WordAt(int position) const {
    if (!wordLength_) return std::nullopt;
    int at = -1;
    const QString mark = pane_->WordMarkBefore(position, &at);
    const std::optional<WordAnchor> word = ParseWordAnchor(mark.toStdString());
    if (!word || at < 0) return std::nullopt;
    // The caret just after the word's last letter is still on it.
    if (position > at + wordLength_(*word)) return std::nullopt;
    return word;
}

std::optional<WordAnchor> ReadingView::WordAtCaret() const {
    return WordAt(pane_->Browser()->textCursor().position());
}

bool ReadingView::eventFilter(QObject* watched, QEvent* e) {
    QTextBrowser* view = pane_->Browser();
    // The focus the program puts in the page for a move; not the focus back
    // from a menu, the menu bar or another window.
    if (watched == view && e->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(e)->reason() == Qt::OtherFocusReason)
        focusArrived_ = Now();
    if (watched == view->viewport() && e->type() == QEvent::MouseButtonPress) {
        const auto button = static_cast<QMouseEvent*>(e)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            if (button == Qt::BackButton)
                Guarded([this] { reading_.GoBack(); });
            else
                Guarded([this] { reading_.GoForward(); });
            return true;
        }
    }
    if (watched == view && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy) &&
        view->textCursor().hasSelection()) {
        Guarded([this] { CopySelection(); });
        return true;
    }
    return QObject::eventFilter(watched, e);
}

ReadingView::~ReadingView() {
    if (ReadingCore* reading = Followed()) reading->SetViewReport({});
}

void ReadingView::TabsChanged() {
    // A tab opened shows no page: the mark lasts until the move is made.
    tabsChanged_ = true;
    QTimer::singleShot(0, this, [this] { tabsChanged_ = false; });
}

void ReadingView::PlaceChanged(const Place& before, const Place& after) {
    // The page changing moves the caret and the view: not the reader.
    const QScopedValueRollback showing(showing_, true);
    const Place& here = reading_.Here();
    const Communs& tables = reading_.Tables();
    const bool bible = std::exchange(bibleChanged_, false);
    const bool tab = std::exchange(tabsChanged_, false) && !bible;
    const bool samePlace = before.SameChapter(here) && before.verse == here.verse;
    // The same chapter shown again: in another size or layout, or in
    // another Bible.
    const bool again = before.SameChapter(here) && (samePlace || bible);
    QTextBrowser* view = pane_->Browser();
    const bool inPage = view->hasFocus();
    // The reader in the page keeps the caret on its verse when the same
    // place is shown again (another size, layout or Bible).
    int caretVerse = 0;
    int caretOffset = view->textCursor().position();
    if (inPage && again && !tab) {
        bool ok = false;
        caretVerse = pane_->AnchorBefore(caretOffset).toInt(&ok);
        if (ok && caretVerse > 0)
            caretOffset -= pane_->AnchorPosition(QString::number(caretVerse));
        else
            caretVerse = 0;
    }
    // Bibles side by side: each cell says its Bible, the arrows go through
    // the cells in reading order.
    pane_->SetColumnsNamed(reading_.Comparison().Active());
    // Their names stay in sight above the page while it scrolls.
    QStringList heads, tips;
    if (reading_.Comparison().Active())
        for (const ComparedBible& b : reading_.Columns()) {
            heads << QString::fromStdString(b.abbreviation);
            tips << QString::fromStdString(b.name);
        }
    pane_->SetColumnHeads(heads, tips);
    if (reading_.PageWritten()) {
        // The reader in the page hears where the move went, not the page
        // read out whole.
        std::optional<QuietTextChanges> quiet;
        if (inPage) quiet.emplace(view);
        pane_->Navigate(FileUrl(tables.AppDir) + QStringLiteral("temp.htm#") +
                        QString::number(here.verse));
        pane_->Refresh();
    }
    QString name = FromUtf8(TabCaption(tables, here.book, here.chapter)) +
                   QString::fromUtf8(" — Texte biblique");
    if (reading_.Comparison().Active())
        name +=
            QStringLiteral(", ") + QString::fromStdString(JoinAbbreviations(reading_.Columns()));
    if (view->accessibleName() != name) view->setAccessibleName(name);
    // The same layout: the same pixels; another one (a new text size, a
    // wider window, the next run): the same verse at the top.
    if (after.scroll >= 0 && (after.layout == LayoutKey() || after.top == 0))
        pane_->SetScrollPosition(after.scroll);
    else if (after.top > 1)
        pane_->ScrollToAnchor(QString::number(after.top));
    else if (after.top == 1)
        pane_->SetScrollPosition(0);
    if (reading_.Marked().first > 0) MarkVerses(reading_.Marked().first, reading_.Marked().last);
    if (inPage && again && !tab) {
        const int at = caretVerse > 0 ? pane_->AnchorPosition(QString::number(caretVerse)) : 0;
        if (at >= 0) pane_->PutCaret(at + (bible ? 0 : caretOffset));
    }

    said_.clear();
    // The first page shown is named by the window's title.
    if (!std::exchange(shown_, true)) return;
    const bool focusBrought =
        inPage && focusArrived_ >= 0 && Now() - focusArrived_ < kFocusMoveMilliseconds;
    focusArrived_ = -1;
    if (tab || (samePlace && !bible) || focusBrought || (quiet_ && quiet_()) || !view->isVisible())
        return;
    const int verse = caretVerse > 0 ? caretVerse
                      : reading_.Marked().first > 0
                          ? reading_.Marked().first
                          : std::max(1, after.top > 0 ? after.top : here.verse);
    said_ = PlaceSaid(here, verse);
    if (bible && bibleName_) said_ = bibleName_() + QString::fromUtf8(" — ") + said_;
    Announce(view->window(), said_);
}

QString ReadingView::PlaceSaid(const Place& here, int verse) const {
    const Communs& tables = reading_.Tables();
    if (tables.VerseLookup(here.book, here.chapter, verse) == 0) verse = 1;
    const QString ref = FromUtf8(tables.FormatRef(here.book, here.chapter, verse, 0));
    const QString text = FromUtf8(VersesText(tables, here.book, here.chapter, verse, 0));
    return text.isEmpty() ? ref : ref + QString::fromUtf8(" — ") + text;
}

int ReadingView::LayoutKey() const {
    return reading_.TextSize() + (reading_.VersePerLine() ? 10 : 0) +
           100 * std::max(1, pane_->Browser()->viewport()->width());
}

int ReadingView::VerseAt(const QPoint& point) const {
    const QString anchor = point.isNull() ? pane_->AnchorAtTop() : pane_->AnchorAt(point);
    bool ok = false;
    const int verse = anchor.toInt(&ok);
    return ok && verse > 0 ? verse : 1;
}

int ReadingView::VerseReached() const {
    // The caret's verse while the reader is in the page (or a move's mark
    // shows), else the one at the top of the view.
    if (!pane_->HasMark() && !pane_->Browser()->hasFocus()) return VerseAt(QPoint());
    bool ok = false;
    const int v = pane_->AnchorBefore(pane_->Browser()->textCursor().position()).toInt(&ok);
    return ok && v > 0 ? v : 1;
}

void ReadingView::CaretToVerse(int verse) {
    const int at = verse > 1 ? pane_->AnchorPosition(QString::number(verse)) : -1;
    if (at >= 0) pane_->PutCaret(at);
}

void ReadingView::MarkVerses(int first, int last) {
    if (first < 1) return;
    QStringList anchors;
    for (int v = first; v <= std::max(first, last) && v <= kMaxVerse; ++v)
        anchors << (v == 1 ? QString() : QString::number(v));
    pane_->Mark(anchors, kMarkMilliseconds);
}

ReadingView::ColumnVerse ReadingView::ColumnVerseAt(const QPoint& point) const {
    ColumnVerse at{VerseAt(point), 0};
    if (!reading_.Comparison().Active()) return at;
    const int pageVerse = at.verse;
    // The comparison is a table a row, its cells in column order: headings
    // and references above, the verse in the last row, beginning with its
    // number in that Bible.
    const QTextCursor cursor = pane_->Browser()->cursorForPosition(point);
    const QTextTable* table = cursor.currentTable();
    if (!table) return at;
    const int column = table->cellAt(cursor).column();
    if (column < 0) return at;
    at.column = static_cast<std::size_t>(column);
    const QTextTableCell cell = table->cellAt(table->rows() - 1, column);
    const int end = cell.lastCursorPosition().position();
    bool holdsText = false;
    // The number may come in more than one fragment of the same look.
    QString number;
    for (QTextBlock b = cell.firstCursorPosition().block(); b.isValid() && b.position() <= end;
         b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            holdsText = holdsText || !f.text().trimmed().isEmpty();
            if (IsVerseNumberFormat(f.charFormat())) {
                number += f.text().trimmed();
                continue;
            }
            bool ok = false;
            const int verse = number.toInt(&ok);
            if (ok && verse > 0) {
                at.chapter = ColumnChapter(at.column, pageVerse, verse);
                at.verse = verse;
                return at;
            }
            number.clear();
        }
    bool ok = false;
    const int verse = number.toInt(&ok);
    // A row without this Bible's verse: nothing to copy of it. The row of
    // the columns' names keeps the verse of the point.
    if (ok && verse > 0) {
        at.chapter = ColumnChapter(at.column, pageVerse, verse);
        at.verse = verse;
    } else if (table->rows() > 1 || !holdsText)
        at.verse = 0;
    return at;
}

int ReadingView::ColumnChapter(std::size_t column, int pageVerse, int verse) const {
    // The row's verse of the Bible read, placed in the column's numbering:
    // a column may number it in another chapter (Malachie 4:1 is 3:19 of
    // the Hebrew).
    const Place& here = reading_.Here();
    const Communs& bible = ColumnBible(column);
    if (&bible == &reading_.Tables() || pageVerse < 1) return here.chapter;
    const VersePlace own = Renumber(PlaceOf(here.book, here.chapter, pageVerse),
                                    *reading_.Tables().VerseNumbering, *bible.VerseNumbering);
    return own != 0 && BookOf(own) == here.book && VerseOf(own) == verse ? ChapterOf(own)
                                                                         : here.chapter;
}

void ReadingView::CopyVerse(int verse, bool withReference, std::size_t column, int chapter) const {
    QString abbreviation = Abbreviation();
    const Communs* tables = &reading_.Tables();
    const std::vector<ComparedBible> columns = reading_.Columns();
    if (column > 0 && column < columns.size() && columns[column].tables) {
        tables = columns[column].tables.get();
        abbreviation = columns[column].abbreviation == kDefaultAbbreviation
                           ? QString()
                           : FromUtf8(columns[column].abbreviation);
    }
    const Place& here = reading_.Here();
    if (chapter < 1) chapter = here.chapter;
    if (VersesText(*tables, here.book, chapter, verse, 0).empty()) return;
    const std::string text = withReference ? QuoteWithReference(*tables, here.book, chapter, verse,
                                                                0, ToUtf8(abbreviation))
                                           : VersesText(*tables, here.book, chapter, verse, 0);
    PutOnClipboard(FromUtf8(text));
}

void ReadingView::CopySelection() const {
    const QString abbreviation = Abbreviation();
    QTextBrowser* view = pane_->Browser();
    const QTextCursor selection = view->textCursor();
    const int start = selection.selectionStart();
    const int end = selection.selectionEnd();
    // The selected words without the verse numbers and the references.
    QString text;
    for (QTextBlock block = view->document()->findBlock(start); block.isValid();
         block = block.next()) {
        if (block.position() >= end) break;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int from = std::max(start, f.position());
            const int to = std::min(end, f.position() + f.length());
            if (to <= from) continue;
            const QTextCharFormat fmt = f.charFormat();
            if (IsVerseNumberFormat(fmt) || !fmt.anchorHref().isEmpty()) continue;
            const QString piece = f.text().mid(from - f.position(), to - from);
            if (piece.trimmed() == QStringLiteral(";")) continue;
            text += piece;
        }
        text += QLatin1Char(' ');
    }
    text = text.simplified();
    const auto verseOf = [this](int position) {
        bool ok = false;
        const int v = pane_->AnchorBefore(position).toInt(&ok);
        return ok && v > 0 ? v : 1;
    };
    const int first = verseOf(start);
    const int last = verseOf(std::max(start, end - 1));
    if (last > first) {
        const Place& here = reading_.Here();
        QString ref = FromUtf8(reading_.Tables().FormatRef(here.book, here.chapter, first, last));
        if (!abbreviation.isEmpty()) ref += QStringLiteral(", ") + abbreviation;
        text = QStringLiteral("«\u00A0%1\u00A0» (%2)").arg(text, ref);
    }
    PutOnClipboard(text);
}

const Communs& ReadingView::ColumnBible(std::size_t column) const {
    if (column == 0) return reading_.Tables();
    const std::vector<ComparedBible> columns = reading_.Columns();
    // The column's tables are shared with the comparison, which keeps them.
    return column < columns.size() && columns[column].tables ? *columns[column].tables
                                                             : reading_.Tables();
}

void ReadingView::SetNotes(ReaderNotes* notes) {
    listening_.Cancel();
    notes_ = notes;
    if (!notes) {
        reading_.SetReaderMarks({}, {});
        return;
    }
    reading_.SetReaderMarks([notes](VersePlace s) { return notes->PageColour(s); },
                            [notes](VersePlace s) { return notes->PageMarks(s); });
    // Every change shows again the page, whatever window made it.
    listening_ = notes_->Listen([this] { Guarded([this] { reading_.Show(); }); });
}

bool ReadingView::Highlight(int first, int last, Colour colour, std::size_t column, int chapter) {
    if (!notes_) return false;
    const Place& here = reading_.Here();
    try {
        notes_->Set(*ColumnBible(column).VerseNumbering, here.book,
                    chapter > 0 ? chapter : here.chapter, first, last, colour);
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

bool ReadingView::Annotate(int first, int last, std::size_t column, int chapter) {
    if (!notes_ || first < 1) return false;
    const Communs& bible = ColumnBible(column);
    const Place& here = reading_.Here();
    if (chapter < 1) chapter = here.chapter;
    if (last <= first) last = 0;
    try {
        const VersePlace segond =
            bible.VerseNumbering->ToSegond(PlaceOf(here.book, chapter, first));
        const std::vector<ReaderNotes::Mark>& marks = notes_->MarksAt(segond);
        const Note* note = marks.empty() ? nullptr : notes_->Find(marks.front().id);
        const QString reference = FromUtf8(bible.FormatRef(here.book, chapter, first, last));
        const AskText ask = askText_ ? askText_ : [this](const QString& r, const QString& t) {
            return AskNoteText(pane_->window(), r, t);
        };
        const std::optional<QString> text = ask(note ? NoteReferenceIn(bible, *note) : reference,
                                                note ? FromUtf8(note->text) : QString());
        if (!text) return false;
        if (note)
            notes_->Change(std::string(note->id), ToUtf8(*text));
        else
            notes_->Add(*bible.VerseNumbering, here.book, chapter, first, last, ToUtf8(*text));
    } catch (const std::exception& e) {
        ShowDefaultError(QString::fromUtf8(e.what()));
        return false;
    }
    return true;
}

void ReadingView::ShowNote(const std::string& id) {
    if (!notes_ || !notes_->Find(id)) return;
    auto* window = new NoteWindow(pane_->window(), *notes_, reading_, id);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->open();
}

}  // namespace lorvane
