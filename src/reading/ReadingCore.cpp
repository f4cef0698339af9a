#include "ReadingCore.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <memory>

#include "Comparison.h"
#include "Navigation.h"

namespace lorvane {
namespace {

// A place without how its view was left: where the tab is.
Place Bare(const Place& p) {
    return Place{p.book, p.chapter, p.verse, -1};
}

bool HasView(const Place& p) {
    return p.scroll >= 0 || p.top > 0;
}

}  // namespace

ReadingObserver::~ReadingObserver() {
    if (followed_) followed_->Unsubscribe(this);
}

void ReadingObserver::PlaceChanged(const Place&, const Place&) {}
void ReadingObserver::TabsChanged() {}
void ReadingObserver::TablesChanged() {}
void ReadingObserver::ComparisonChanged() {}
void ReadingObserver::VerseReadChanged(int) {}

void ReadingCore::SetVerseRead(int verse) {
    if (verse < 1 || verse == VerseRead()) return;
    verseRead_ = verse;
    Notify([verse](ReadingObserver& o) { o.VerseReadChanged(verse); });
}

ReadingCore::ReadingCore(Communs& tables) : tables_(tables) {
    here_ = Place{FirstBook(tables_), 1, 1, -1};
    tabs_.emplace_back(here_);
}

ReadingCore::~ReadingCore() {
    for (ReadingObserver* o : observers_)
        o->followed_ = nullptr;
}

void ReadingCore::Start() {
    here_ = Place{FirstBook(tables_), 1, 1, -1};
    tabs_.assign(1, PlaceHistory(here_));
    current_ = 0;
    marked_ = {};
    restoreView_.reset();
    Notify([](ReadingObserver& o) { o.TablesChanged(); });
    Notify([](ReadingObserver& o) { o.TabsChanged(); });
}

void ReadingCore::Subscribe(ReadingObserver* observer) {
    if (!observer || observer->followed_ == this) return;
    if (observer->followed_) observer->followed_->Unsubscribe(observer);
    observer->followed_ = this;
    observers_.push_back(observer);
}

void ReadingCore::Unsubscribe(ReadingObserver* observer) {
    if (!observer || observer->followed_ != this) return;
    observer->followed_ = nullptr;
    std::erase(observers_, observer);
}

template <typename Call>
void ReadingCore::Notify(Call call) {
    // A pane may leave while it is told: the ones still following are told.
    const std::vector<ReadingObserver*> told = observers_;
    for (ReadingObserver* o : told) {
        if (o->followed_ != this) continue;
        try {
            call(*o);
        } catch (const std::exception& e) {
            std::cerr << "lorvane: a pane could not follow the reading: " << e.what() << std::endl;
        } catch (...) {
            std::cerr << "lorvane: a pane could not follow the reading" << std::endl;
        }
    }
}

std::string ReadingCore::TabCaption(int tab) const {
    const Place& p = TabPlace(tab);
    return lorvane::TabCaption(tables_, p.book, p.chapter);
}

Leaving ReadingCore::LeavingNow() const {
    return viewReport_ ? viewReport_() : Leaving();
}

bool ReadingCore::WritePage(ChapterPageRequest request) const {
    request.verseByLine = versePerLine_;
    if (!request.backgroundAt) request.backgroundAt = backgrounds_;
    if (!request.notesAt) request.notesAt = notes_;
    if (!request.wordsOf) request.wordsOf = wordsOf_;
    request.interlinear = interlinear_ && !request.passageMode;
    if (compared_.Active()) return WriteComparePage(Columns(), request);
    return WriteChapterPage(tables_, request);
}

bool ReadingCore::WriteHere(const Place& place) {
    try {
        pageWritten_ = WritePage(ChapterPageRequest{place.book, place.chapter, 1, 0, false, true});
        return true;
    } catch (const std::exception& e) {
        std::cerr << "lorvane: the chapter could not be shown: " << e.what() << std::endl;
    } catch (...) {
        std::cerr << "lorvane: the chapter could not be shown" << std::endl;
    }
    pageWritten_ = false;
    return false;
}

void ReadingCore::Tell(const Place& before, const Place& shown) {
    // Another place: the reader is at its verse until the view says more.
    if (!before.SameChapter(shown) || before.verse != shown.verse) verseRead_ = 0;
    Notify([&](ReadingObserver& o) { o.PlaceChanged(before, shown); });
}

bool ReadingCore::MoveTo(const Place& to, VerseSpan mark) {
    return Move(to, mark, false);
}

bool ReadingCore::MoveTyping(const Place& to) {
    return Move(to, {}, true);
}

bool ReadingCore::Move(const Place& to, VerseSpan mark, bool typing) {
    const Place before = here_;
    const Place place = Bare(to);
    if (!WriteHere(place)) {
        // The panes come back to the page they show.
        marked_ = {};
        Tell(before, before);
        return false;
    }
    const Place& at = Tab().Current();
    if (typing && at.book == place.book && !at.SameChapter(place))
        Tab().Replace(place);
    else if (!at.SameChapter(place) || at.verse != place.verse)
        Tab().Visit(place, LeavingNow());
    here_ = place;
    marked_ = mark;
    Tell(before, to);
    return true;
}

bool ReadingCore::CanGoBack() const {
    return tabs_[static_cast<std::size_t>(current_)].CanGoBack();
}

bool ReadingCore::CanGoForward() const {
    return tabs_[static_cast<std::size_t>(current_)].CanGoForward();
}

void ReadingCore::GoBack() {
    if (CanGoBack()) ShowComeBack(Tab().Back(LeavingNow()));
}

void ReadingCore::GoForward() {
    if (CanGoForward()) ShowComeBack(Tab().Forward(LeavingNow()));
}

void ReadingCore::ShowComeBack(Place wanted) {
    const Place before = here_;
    // A place the Bible no longer has (another Bible since) is fitted to it.
    const Place place = FitPlace(tables_, wanted);
    if (!place.SameChapter(wanted) || place.verse != wanted.verse) Tab().Replace(Bare(place));
    here_ = Bare(place);
    marked_ = place.verse > 1 ? VerseSpan{place.verse, 0} : VerseSpan{};
    if (!WriteHere(here_)) marked_ = {};
    Tell(before, place);
}

void ReadingCore::SelectTab(int tab) {
    if (tab < 0 || tab >= TabCount()) return;
    const Place before = here_;
    // The tab left keeps where its page was scrolled.
    if (tab != current_) Tab().Leave(LeavingNow());
    current_ = tab;
    const Place shown = Tab().Current();
    here_ = Bare(shown);
    marked_ = {};
    Notify([](ReadingObserver& o) { o.TabsChanged(); });
    WriteHere(here_);
    Tell(before, shown);
}

void ReadingCore::SelectNextTab(int step) {
    const int count = TabCount();
    if (count < 2) return;
    SelectTab(((current_ + step) % count + count) % count);
}

void ReadingCore::OpenTab() {
    // The new tab starts with the places of the one read, which keeps them.
    const Leaving left = LeavingNow();
    Tab().Leave(left);
    PlaceHistory copy = Tab();
    tabs_.insert(tabs_.begin(), std::move(copy));
    current_ = 0;
    Notify([](ReadingObserver& o) { o.TabsChanged(); });
}

void ReadingCore::CloseTab() {
    if (TabCount() < 2) return;
    const Place before = here_;
    const int closing = current_;
    tabs_.erase(tabs_.begin() + closing);
    current_ = closing > 0 ? closing - 1 : 0;
    const Place shown = Tab().Current();
    here_ = Bare(shown);
    marked_ = {};
    Notify([](ReadingObserver& o) { o.TabsChanged(); });
    WriteHere(here_);
    Tell(before, shown);
}

void ReadingCore::Show() {
    marked_ = {};
    WriteHere(here_);
    // A place kept by the last session comes back as it was left, once.
    Place shown = here_;
    if (restoreView_ && restoreView_->SameChapter(here_) && restoreView_->verse == here_.verse)
        shown = *restoreView_;
    restoreView_.reset();
    Tell(here_, shown);
}

void ReadingCore::SetVersePerLine(bool versePerLine) {
    versePerLine_ = versePerLine;
    Show();
}

void ReadingCore::SetInterlinear(bool interlinear) {
    if (interlinear == interlinear_) return;
    interlinear_ = interlinear;
    Show();
}

void ReadingCore::SetTextSize(int size) {
    size = std::clamp(size, 1, 4);
    if (size == tables_.TextSize) return;
    tables_.TextSize = size;
    Show();
}

void ReadingCore::ReplaceTables(Communs&& fresh, std::string abbreviation, std::string formerName,
                                MissingBook missing) {
    const Place before = here_;
    // The verse at the top of the page comes back at the top in the other
    // Bible.
    const Leaving left = LeavingNow();
    const int top = left.top;
    const bool comparing = compared_.Active();
    std::vector<ComparedBible> others = compared_.Others();
    if (comparing) {
        // The Bible read so far stays in view: in the new one's column when
        // it had one, else first beside it.
        auto former = std::make_shared<Communs>(tables_.AppDir);
        former->TakeTables(std::move(tables_));
        former->TextSize = tables_.TextSize;
        ComparedBible column{compared_.CurrentAbbreviation(), std::move(formerName),
                             std::move(former)};
        const auto it = std::find_if(others.begin(), others.end(), [&](const ComparedBible& b) {
            return b.tables->BibleDir == fresh.BibleDir;
        });
        if (it != others.end())
            *it = std::move(column);
        else
            others.insert(others.begin(), std::move(column));
    }
    const Numbering& was = *tables_.VerseNumbering;
    tables_.TakeTables(std::move(fresh));
    const Numbering& now = *tables_.VerseNumbering;
    compared_.Set(std::move(abbreviation), std::move(others));
    // A verse is the same verse in a Bible numbered otherwise: Psaume 51:9
    // of the Segond is 51:7 of an English Bible.
    const auto renumbered = [&](Place p) {
        const VersePlace to = Renumber(PlaceOf(p.book, p.chapter, std::max(p.verse, 1)), was, now);
        if (to == 0 || (p.verse == 0 && ChapterOf(to) == p.chapter)) return p;
        p.book = BookOf(to);
        p.chapter = ChapterOf(to);
        p.verse = VerseOf(to);
        return p;
    };
    int newTop = top;
    if (top > 1) {
        const Place t = renumbered(Place{before.book, before.chapter, top, -1});
        newTop = t.verse;
    }
    // Every tab keeps its places: where the new Bible lacks a chapter or a
    // verse, the tab's place is fitted to it; a book it lacks stays, its
    // page saying so, or is left for the Bible's first book.
    for (std::size_t i = 0; i < tabs_.size(); ++i) {
        PlaceHistory& tab = tabs_[i];
        if (&was != &now) {
            const Place moved = renumbered(tab.Current());
            if (!moved.SameChapter(tab.Current()) || moved.verse != tab.Current().verse)
                tab.Replace(Bare(moved));
        }
        const Place& at = tab.Current();
        if (missing == MissingBook::FirstBook && at.book >= 1 && at.book <= kBookCount &&
            tables_.Book(at.book).ChapterCount < 1) {
            tab.Visit(
                Place{FirstBook(tables_), 1, 1, -1},
                static_cast<int>(i) == current_ ? left : Leaving(at.scroll, at.top, at.layout));
            continue;
        }
        const Place fitted = FitPlace(tables_, at);
        if (!fitted.SameChapter(at) || fitted.verse != at.verse) tab.Replace(Bare(fitted));
    }
    here_ = Bare(TabPlace(current_));
    restoreView_.reset();
    marked_ = {};
    Notify([](ReadingObserver& o) { o.TablesChanged(); });
    Notify([](ReadingObserver& o) { o.TabsChanged(); });
    if (comparing) Notify([](ReadingObserver& o) { o.ComparisonChanged(); });
    Place shown = here_;
    if (newTop > 1 && tables_.VerseLookup(here_.book, here_.chapter, newTop) != 0)
        shown.top = newTop;
    WriteHere(here_);
    Tell(before, shown);
}

void ReadingCore::SetComparison(std::string currentAbbreviation,
                                std::vector<ComparedBible> others) {
    compared_.Set(std::move(currentAbbreviation), std::move(others));
    Notify([](ReadingObserver& o) { o.ComparisonChanged(); });
    Show();
}

const Communs& ReadingCore::TablesFor(int book) const {
    if (tables_.Book(book).ChapterCount > 0) return tables_;
    for (const ComparedBible& b : compared_.Others())
        if (b.tables && b.tables->Book(book).ChapterCount > 0) return *b.tables;
    return tables_;
}

int ReadingCore::ChaptersShown(int book) const {
    return TablesFor(book).Book(book).ChapterCount;
}

Session ReadingCore::SessionNow() const {
    Session session;
    for (int i = 0; i < TabCount(); ++i) {
        Place p = TabPlace(i);
        if (i == current_) {
            const Leaving left = LeavingNow();
            p.scroll = left.scroll;
            p.top = left.top;
        }
        session.tabs.push_back(p);
    }
    session.current = current_;
    session.textSize = tables_.TextSize;
    session.versePerLine = versePerLine_;
    return session;
}

void ReadingCore::Restore(const Session& session) {
    if (session.tabs.empty()) return;
    tabs_.clear();
    for (const Place& kept : session.tabs)
        tabs_.emplace_back(FitPlace(tables_, kept));
    current_ = std::clamp(session.current, 0, TabCount() - 1);
    tables_.TextSize = std::clamp(session.textSize, 1, 4);
    versePerLine_ = session.versePerLine;
    const Place& kept = Tab().Current();
    here_ = Bare(kept);
    if (HasView(kept)) restoreView_ = kept;
    marked_ = {};
    Notify([](ReadingObserver& o) { o.TabsChanged(); });
}

}  // namespace lorvane
