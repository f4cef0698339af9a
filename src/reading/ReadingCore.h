#pragma once

// The reading: which Bible is read and which are compared with it, the text
// tabs with the place each shows and the places it has been to, the options
// of the page, and the session kept between runs. Every move is one call
// here; it writes the chapter page, then tells the panes that follow the
// reading, in the order they subscribed. Widget-free: the panes are
// observers and the core knows none of them.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ChapterPage.h"
#include "Communs.h"
#include "CompareSet.h"
#include "History.h"
#include "Session.h"

namespace lorvane {

class ReadingCore;

// What a pane that follows the reading is told. Each call has a default that
// does nothing; an exception a pane raises is written to standard error and
// the other panes are told all the same.
class ReadingObserver {
  public:
    ReadingObserver() = default;
    ReadingObserver(const ReadingObserver&) = delete;
    ReadingObserver& operator=(const ReadingObserver&) = delete;
    // Leaves the reading it follows.
    virtual ~ReadingObserver();

    // The page of `after` is shown: another place of the tab read, another
    // tab, or the same place shown again (a new option, a comparison, a
    // Bible). `after` carries how its view comes back when it should (its
    // scroll position or its verse at the top), else scroll -1 and top 0.
    virtual void PlaceChanged(const Place& before, const Place& after);
    // Tabs were opened, closed or chosen, or their places refitted.
    virtual void TabsChanged();
    // Another Bible is read (its tables replaced those of the one before);
    // the place is shown next.
    virtual void TablesChanged();
    // Bibles were put beside the current one or taken away; the place is
    // shown next.
    virtual void ComparisonChanged();
    // The reader came to another verse of the page: the caret moved into
    // it, or it came to the top of the view.
    virtual void VerseReadChanged(int verse);

  protected:
    // The reading followed; null once it is gone.
    ReadingCore* Followed() const { return followed_; }

  private:
    friend class ReadingCore;
    ReadingCore* followed_ = nullptr;
};

// The verses to mark after a move: first to last (last 0: first alone);
// first 0 marks none.
struct VerseSpan {
    int first = 0;
    int last = 0;
};

class ReadingCore {
  public:
    // How the page shown is left: reported by the pane that shows it.
    using ViewReport = std::function<Leaving()>;

    // The reading of the Bible in `tables`, one tab at its first book.
    explicit ReadingCore(Communs& tables);
    ~ReadingCore();
    ReadingCore(const ReadingCore&) = delete;
    ReadingCore& operator=(const ReadingCore&) = delete;

    // Panes are told in the order they subscribed; one subscribes once.
    void Subscribe(ReadingObserver* observer);
    void Unsubscribe(ReadingObserver* observer);
    void SetViewReport(ViewReport report) { viewReport_ = std::move(report); }

    Communs& Tables() { return tables_; }
    const Communs& Tables() const { return tables_; }

    // The reading starts again at the first book the tables have, in one
    // tab (after the tables were first loaded).
    void Start();

    // -- Where the reading is --------------------------------------------
    // The place of the tab read, as last shown (its scroll fields unset).
    const Place& Here() const { return here_; }
    int TabCount() const { return static_cast<int>(tabs_.size()); }
    int CurrentTab() const { return current_; }
    const PlaceHistory& Places(int tab) const { return tabs_.at(static_cast<std::size_t>(tab)); }
    // A tab's place; its caption ("Genèse 1", UTF-8).
    const Place& TabPlace(int tab) const { return Places(tab).Current(); }
    std::string TabCaption(int tab) const;
    // Whether the page of the last showing holds a verse (else the pane
    // keeps what it showed); the verses the last move asked to mark.
    bool PageWritten() const { return pageWritten_; }
    const VerseSpan& Marked() const { return marked_; }

    // -- Moves: each shows the page and tells the panes --------------------
    // The tab read moves to `to`, remembered among its places (a move to
    // the verse already read is not). False, with the reading left where
    // it was, when the page cannot be written.
    bool MoveTo(const Place& to, VerseSpan mark = {});
    // A digit typed in the chapter box after the one before: in the same
    // book, the new chapter replaces the place instead of adding one.
    bool MoveTyping(const Place& to);
    bool CanGoBack() const;
    bool CanGoForward() const;
    void GoBack();
    void GoForward();
    // The reader reads another tab, found as he left it.
    void SelectTab(int tab);
    void SelectNextTab(int step);
    // A new tab, first, on the place read, with the places of the tab read;
    // it becomes the one read.
    void OpenTab();
    // The tab read closes when there is another; the one before it (the
    // next for the first) is read.
    void CloseTab();
    // The place shown again as it is (an option or the window changed).
    void Show();
    // The verse of the page the reader is at, in the Bible read: the
    // caret's, or the one at the top of the view; the place's verse after
    // a move. Panes that follow the verse are told of each change.
    int VerseRead() const { return verseRead_ ? verseRead_ : here_.verse; }
    void SetVerseRead(int verse);

    // -- The page's options ------------------------------------------------
    bool VersePerLine() const { return versePerLine_; }
    void SetVersePerLine(bool versePerLine);
    int TextSize() const { return tables_.TextSize; }
    // 1 to 4; shows the page again when it changed.
    void SetTextSize(int size);

    // -- The Bibles --------------------------------------------------------
    // Another Bible is read: `fresh` replaces the tables, whose folder it
    // names. Every tab keeps its places, the one shown fitted to that Bible
    // (FitPlace), and the verse at the top of the view stays at the top. A
    // tab on a book the Bible lacks stays there, its page saying so, or
    // (FirstBook: an import, which shows what it brought) goes on to the
    // first book the Bible has, back coming back to it. When Bibles are
    // compared, the one read before (named `formerName`) stays in a column:
    // the new one's when it was compared, else the first; the last columns
    // go beyond the comparison's columns.
    enum class MissingBook { Kept, FirstBook };
    void ReplaceTables(Communs&& fresh, std::string abbreviation, std::string formerName = {},
                       MissingBook missing = MissingBook::Kept);
    const CompareSet& Comparison() const { return compared_; }
    // The current Bible (its column labelled `currentAbbreviation`) beside
    // `others`, up to the comparison's columns; none ends the comparison.
    void SetComparison(std::string currentAbbreviation, std::vector<ComparedBible> others);
    // Every column, the current Bible first.
    std::vector<ComparedBible> Columns() const { return compared_.Columns(tables_); }
    // The reader's colours behind verses and marks of the reader's notes,
    // by Segond place, in every page written from now; Show() puts them in
    // the page shown.
    void SetReaderMarks(std::function<VerseColour(VersePlace segond)> backgroundAt,
                        std::function<std::vector<VerseNoteMark>(VersePlace segond)> notesAt) {
        backgrounds_ = std::move(backgroundAt);
        notes_ = std::move(notesAt);
    }
    // The tagged words of a Bible, marked in every page written from now;
    // and whether the pages show them as an interlinear (the page shown is
    // written again).
    void SetWordsOf(std::function<PageWords(const Communs&)> wordsOf) {
        wordsOf_ = std::move(wordsOf);
    }
    void SetInterlinear(bool interlinear);
    bool Interlinear() const { return interlinear_; }
    // The chapters of a book as the reading shows them: the Bible read's,
    // or, for a book it lacks, those of the first Bible compared that has
    // it (a New Testament read beside a whole Bible opens Genèse).
    int ChaptersShown(int book) const;
    // The tables of the Bible shown for a book: the Bible read's, or those
    // of ChaptersShown's column.
    const Communs& TablesFor(int book) const;

    // Writes the page a request asks for (the reading pane's or the passage
    // window's) with the options and the comparison; whether a verse was
    // written. Throws std::runtime_error when the file cannot be written.
    bool WritePage(ChapterPageRequest request) const;

    // -- The session -------------------------------------------------------
    // The tabs, the tab read (with how its page is left) and the options;
    // the caller adds what is its own (the module pane).
    Session SessionNow() const;
    // The tabs of a kept session, each place fitted to the Bible.
    void Restore(const Session& session);

  private:
    PlaceHistory& Tab() { return tabs_[static_cast<std::size_t>(current_)]; }
    Leaving LeavingNow() const;
    // Writes the page of `place`: false, after saying why on standard
    // error, when it could not be written.
    bool WriteHere(const Place& place);
    // Shows a place of the tab's history come back to (back or forward),
    // as it was left, its verse marked.
    void ShowComeBack(Place wanted);
    bool Move(const Place& to, VerseSpan mark, bool typing);
    // Shows `shown` (its view fields for the pane) after `before`.
    void Tell(const Place& before, const Place& shown);
    template <typename Call>
    void Notify(Call call);

    Communs& tables_;
    std::vector<PlaceHistory> tabs_;
    int current_ = 0;
    Place here_;
    // How the place kept by the last session was left, for its first showing.
    std::optional<Place> restoreView_;
    bool pageWritten_ = false;
    VerseSpan marked_;
    bool versePerLine_ = false;
    CompareSet compared_;
    int verseRead_ = 0;  // 0: the place's verse
    std::function<VerseColour(VersePlace)> backgrounds_;
    std::function<std::vector<VerseNoteMark>(VersePlace)> notes_;
    std::function<PageWords(const Communs&)> wordsOf_;
    bool interlinear_ = false;
    ViewReport viewReport_;
    std::vector<ReadingObserver*> observers_;
};

}  // namespace lorvane
