#include "History.h"

namespace lorvane {

void PlaceHistory::Visit(const Place& to, int scroll) {
    places_[index_].scroll = scroll;
    places_.resize(index_ + 1);
    places_.push_back(to);
    if (places_.size() > kLimit) places_.erase(places_.begin(), places_.end() - kLimit);
    index_ = places_.size() - 1;
}

const Place& PlaceHistory::Back(int scroll) {
    if (CanGoBack()) {
        places_[index_].scroll = scroll;
        --index_;
    }
    return places_[index_];
}

const Place& PlaceHistory::Forward(int scroll) {
    if (CanGoForward()) {
        places_[index_].scroll = scroll;
        ++index_;
    }
    return places_[index_];
}

}  // namespace lorvane
