#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "PageWords.h"
#include "ReaderNotes.h"
#include "ReadingCore.h"

class QPoint;

namespace lorvane {

class TBrowserPane;

// The reading pane, following the reading: it shows the page of each move,
// named by its place for a screen reader, brings a view back as it was
// left and marks the verses a move asks to mark. It tells the reading how
// its page is left, and copies verses with their reference.
class ReadingView : public QObject, public ReadingObserver {
    Q_OBJECT
  public:
    ReadingView(ReadingCore& reading, TBrowserPane* pane, QObject* parent = nullptr);
    ~ReadingView() override;

    void PlaceChanged(const Place& before, const Place& after) override;
    void TabsChanged() override;
    void TablesChanged() override { bibleChanged_ = true; }

    // The verse under a point of the pane (viewport coordinates), or at the
    // top of the view for a null point; 1 where none is.
    int VerseAt(const QPoint& point) const;
    // The verse the caret is in while the page has the focus or a move's
    // mark shows, else the one at the top of the view.
    int VerseReached() const;
    // Puts the caret at the start of a verse of the page (its number).
    void CaretToVerse(int verse);
    // Marks verses first to last (0: first alone) for a few seconds.
    void MarkVerses(int first, int last);
    // How the page is laid out (text size, verses by line, width): a view
    // comes back at its scroll position only in the same layout.
    int LayoutKey() const;

    // Copies a verse of the page, with its reference (and the Bible's
    // abbreviation) when asked, from the Bible of a column of the
    // comparison (0: the one read); the selection of the page (Ctrl+C),
    // whose verses get their reference when it spans more than one. The
    // pane's menu offers the copies of the verse under the mouse, in the
    // column under it.
    void CopyVerse(int verse, bool withReference, std::size_t column = 0, int chapter = 0) const;
    // The column of the comparison under a point (0 outside one) and the
    // verse there in its Bible (0 where that Bible lacks the row's verse).
    struct ColumnVerse {
        int verse = 1;
        std::size_t column = 0;
        int chapter = 0;  // the column's own chapter of the verse; 0: the page's
    };
    ColumnVerse ColumnVerseAt(const QPoint& point) const;
    void CopySelection() const;
    // The abbreviation quotes end with ("LSG"), none when empty.
    void SetQuoteAbbreviation(std::function<QString()> abbreviation) {
        abbreviation_ = std::move(abbreviation);
    }

    // What a screen reader hears of a move made while the reader is in the
    // page (back, forward, another Bible, a result or an index entry opened
    // from its list): the place and its verse, with the Bible's name after a
    // switch. Said nothing while the control with the focus says the move
    // itself (`quiet`: the book box, the chapter box), for a move that brings
    // the focus into the page (the reader hears the page), for a tab (the
    // tabs say it) or the same place shown again (a text size, a layout).
    void SetBibleName(std::function<QString()> name) { bibleName_ = std::move(name); }
    void SetQuietWhile(std::function<bool()> quiet) { quiet_ = std::move(quiet); }
    // What the last move said; empty when it said nothing.
    const QString& LastSaid() const { return said_; }

    // The reader's notes and highlights: shown in every page (a colour
    // behind its verses, a note's mark after the verse number), and
    // « Annoter ce verset... » and « Surligner » in the pane's menu, for the
    // verse under the mouse in the column under it.
    void SetNotes(ReaderNotes* notes);
    ReaderNotes* Notes() const { return notes_; }
    // Colours verses first to last of the page (the selected ones), in the
    // Bible of a column (0: the one read) and in its own chapter (0: the
    // page's); false, after saying why, when it could not be kept.
    bool Highlight(int verse, Colour colour, std::size_t column = 0) {
        return Highlight(verse, verse, colour, column);
    }
    bool Highlight(int first, int last, Colour colour, std::size_t column = 0, int chapter = 0);
    // Asks for a note on verses first to last of the page, the same way;
    // the verse's first note is changed when it has one. False when none
    // was kept.
    bool Annotate(int first, int last, std::size_t column = 0, int chapter = 0);
    // A note at the caret's verse (or the top of the view).
    bool AnnotateHere() { return Annotate(VerseReached(), 0); }
    // Opens the window of a note (its mark was followed).
    void ShowNote(const std::string& id);
    // How the note's text is asked for (the editor by default); the tests
    // give their own.
    using AskText =
        std::function<std::optional<QString>(const QString& reference, const QString& text)>;
    void SetAskText(AskText ask) { askText_ = std::move(ask); }

    // The tagged words of the page (PageWords.h): the word the caret is on,
    // told as the caret or a click reaches it. `length` gives the length
    // of a word's text (in the page's characters); without it no word is
    // told.
    void SetWordLength(std::function<int(const WordAnchor&)> length) {
        wordLength_ = std::move(length);
    }
    std::optional<WordAnchor> WordAt(int position) const;
    std::optional<WordAnchor> WordAtCaret() const;

  signals:
    void WordReached(const lorvane::WordAnchor& word);

  protected:
    // The mouse's back and forward buttons over the pane go back and
    // forward; Ctrl+C over a selection copies it with its reference.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The place reached and its verse, as said after a move.
    QString PlaceSaid(const Place& here, int verse) const;
    QString Abbreviation() const { return abbreviation_ ? abbreviation_() : QString(); }
    std::function<QString()> abbreviation_;
    // The Bible of a column (0: the one read).
    const Communs& ColumnBible(std::size_t column) const;
    // The chapter a column numbers its verse `verse` in, on the row of the
    // page's verse `pageVerse`.
    int ColumnChapter(std::size_t column, int pageVerse, int verse) const;
    std::function<int(const WordAnchor&)> wordLength_;
    QString lastWord_;  // the mark of the word last told
    ReaderNotes* notes_ = nullptr;
    ReaderNotes::Subscription listening_;
    AskText askText_;
    std::function<QString()> bibleName_;
    std::function<bool()> quiet_;
    bool tabsChanged_ = false;
    bool bibleChanged_ = false;
    bool shown_ = false;
    bool showing_ = false;  // a page is being shown
    // When the focus last came into the page (a monotonic clock, ms).
    qint64 focusArrived_ = -1;
    QString said_;
    ReadingCore& reading_;
    TBrowserPane* pane_;
};

}  // namespace lorvane
