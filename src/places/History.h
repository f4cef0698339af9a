#pragma once

// The places a tab has been to, for going back and forward: every move of
// the tab (a link followed, the book list, the chapter box, a search
// result, a typed reference, a signet) visits a new place; going back after
// new moves has dropped the places ahead. Each place keeps where the page
// was scrolled when the reader left it.

#include <cstddef>
#include <vector>

namespace lorvane {

struct Place {
    int book = 1;
    int chapter = 1;
    int verse = 1;    // the verse brought into view
    int scroll = -1;  // the scroll position when left; -1: at the verse
    int top = 0;      // the verse at the top of the view when left; 0: unknown
    int layout = 0;   // how the page was laid out then (size, width); 0: unknown

    bool SameChapter(const Place& o) const { return book == o.book && chapter == o.chapter; }
};

// How the reader leaves a place: the scroll position, the verse at the top
// of the view and the page's layout. A place is shown again at its scroll
// position when the layout is the same, else with its top verse at the top.
struct Leaving {
    Leaving(int scroll = -1, int top = 0, int layout = 0)
        : scroll(scroll), top(top), layout(layout) {}
    int scroll;
    int top;
    int layout;
};

class PlaceHistory {
  public:
    static constexpr std::size_t kLimit = 100;

    // The tab shows its first place.
    explicit PlaceHistory(Place start = {}) : places_{start} {}

    // The reader moves to `to`, leaving the current place as `left` says.
    // The places ahead are dropped, the oldest beyond the limit.
    void Visit(const Place& to, const Leaving& left);
    // The current place follows a move that is not one to remember (the
    // tab's chapter was changed while its caption stayed): it is replaced.
    void Replace(const Place& place) { places_[index_] = place; }

    bool CanGoBack() const { return index_ > 0; }
    bool CanGoForward() const { return index_ + 1 < places_.size(); }
    // Leaves the current place as `left` says and returns the one before
    // (after); the current place when there is none.
    const Place& Back(const Leaving& left);
    const Place& Forward(const Leaving& left);
    // The current place is left as `left` says (another tab is read).
    void Leave(const Leaving& left);

    const Place& Current() const { return places_[index_]; }
    std::size_t Count() const { return places_.size(); }
    std::size_t Index() const { return index_; }

  private:
    std::vector<Place> places_;
    std::size_t index_ = 0;
};

}  // namespace lorvane
