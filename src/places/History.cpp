#include "History.h"

namespace lorvane {

void PlaceHistory::Leave(const Leaving& left) {
    Place& p = places_[index_];
    p.scroll = left.scroll;
    p.top = left.top;
    p.layout = left.layout;
}

void PlaceHistory::Visit(const Place& to, const Leaving& left) {
    Leave(left);
    places_.resize(index_ + 1);
    places_.push_back(to);
    if (places_.size() > kLimit) places_.erase(places_.begin(), places_.end() - kLimit);
    index_ = places_.size() - 1;
}

const Place& PlaceHistory::Back(const Leaving& left) {
    if (CanGoBack()) {
        Leave(left);
        --index_;
    }
    return places_[index_];
}

const Place& PlaceHistory::Forward(const Leaving& left) {
    if (CanGoForward()) {
        Leave(left);
        ++index_;
    }
    return places_[index_];
}

}  // namespace lorvane
