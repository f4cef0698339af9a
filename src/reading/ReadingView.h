#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <functional>

#include "Highlights.h"
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
    void CopyVerse(int verse, bool withReference, std::size_t column = 0) const;
    // The column of the comparison under a point (0 outside one) and the
    // verse there in its Bible (0 where that Bible lacks the row's verse).
    struct ColumnVerse {
        int verse = 1;
        std::size_t column = 0;
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

    // The reader's highlights: shown behind their verses in every page,
    // and « Surligner » in the pane's menu, for the verse under the mouse
    // in the column under it.
    void SetHighlights(Highlights* highlights);
    // Colours a verse of the page (column 0: the Bible read) and shows the
    // page again; false, after saying why, when it could not be kept.
    bool Highlight(int verse, Colour colour, std::size_t column = 0) {
        return Highlight(verse, verse, colour, column);
    }
    // Verses first to last of the page (the selected ones).
    bool Highlight(int first, int last, Colour colour, std::size_t column = 0);

  protected:
    // The mouse's back and forward buttons over the pane go back and
    // forward; Ctrl+C over a selection copies it with its reference.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The place reached and its verse, as said after a move.
    QString PlaceSaid(const Place& here, int verse) const;
    QString Abbreviation() const { return abbreviation_ ? abbreviation_() : QString(); }
    std::function<QString()> abbreviation_;
    Highlights* highlights_ = nullptr;
    std::function<QString()> bibleName_;
    std::function<bool()> quiet_;
    bool tabsChanged_ = false;
    bool bibleChanged_ = false;
    bool shown_ = false;
    // When the focus last came into the page (a monotonic clock, ms).
    qint64 focusArrived_ = -1;
    QString said_;
    ReadingCore& reading_;
    TBrowserPane* pane_;
};

}  // namespace lorvane
