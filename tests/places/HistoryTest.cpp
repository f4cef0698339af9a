#include <gtest/gtest.h>

#include "History.h"

namespace lorvane {
namespace {

TEST(PlaceHistory, GoesBackAndForthToTheScrollPositionsLeft) {
    PlaceHistory h(Place{1, 1, 1});
    EXPECT_FALSE(h.CanGoBack());
    h.Visit(Place{43, 3, 16}, 120);  // Genèse 1 was scrolled to 120
    h.Visit(Place{45, 8, 28}, 640);
    EXPECT_TRUE(h.CanGoBack());
    EXPECT_FALSE(h.CanGoForward());

    const Place back = h.Back(900);
    EXPECT_EQ(back.book, 43);
    EXPECT_EQ(back.scroll, 640);
    EXPECT_EQ(h.Back(30).scroll, 120);
    EXPECT_FALSE(h.CanGoBack());
    EXPECT_EQ(h.Back(0).book, 1);  // nothing before: stays

    EXPECT_EQ(h.Forward(120).scroll, 30);
    const Place ahead = h.Forward(30);
    EXPECT_EQ(ahead.book, 45);
    EXPECT_EQ(ahead.scroll, 900);
    EXPECT_FALSE(h.CanGoForward());
}

TEST(PlaceHistory, ANewMoveAfterGoingBackDropsThePlacesAhead) {
    PlaceHistory h(Place{1, 1, 1});
    h.Visit(Place{1, 2, 1}, 0);
    h.Visit(Place{1, 3, 1}, 0);
    h.Back(0);
    h.Back(0);
    h.Visit(Place{19, 23, 1}, 0);
    EXPECT_EQ(h.Count(), 2u);
    EXPECT_FALSE(h.CanGoForward());
    EXPECT_EQ(h.Back(0).chapter, 1);
}

TEST(PlaceHistory, KeepsTheLastHundredPlaces) {
    PlaceHistory h(Place{1, 1, 1});
    for (int c = 2; c <= 150; ++c)
        h.Visit(Place{19, c, 1}, 0);
    EXPECT_EQ(h.Count(), PlaceHistory::kLimit);
    EXPECT_EQ(h.Current().chapter, 150);
    while (h.CanGoBack())
        h.Back(0);
    EXPECT_EQ(h.Current().chapter, 51);
}

}  // namespace
}  // namespace lorvane
