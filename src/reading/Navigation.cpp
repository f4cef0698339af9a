#include "Navigation.h"

#include <algorithm>

#include "StoredText.h"

namespace lorvane {

std::string TabCaption(const Communs& c, int book, int chapter) {
    const std::string named = std::string(c.Book(book).Name.view()) + ' ';
    return std::string(storedtext::FirstCharacters(named, 26)) + std::to_string(chapter);
}

int FirstBook(const Communs& c) {
    for (int book = 1; book <= kBookCount; ++book)
        if (c.Book(book).ChapterCount > 0) return book;
    return 1;
}

Place PlaceInBible(const Communs& c, const Place& place) {
    if (place.book < 1 || place.book > kBookCount || c.Book(place.book).ChapterCount == 0)
        return Place{FirstBook(c), 1, 1, -1};
    if (place.chapter < 1 || c.VerseLookup(place.book, place.chapter, 1) == 0)
        return Place{place.book, 1, 1, -1};
    return Place{place.book, place.chapter, 1, -1};
}

LinkDecision DecideReadingLink(std::string_view url,
                               const std::function<bool(const std::string&)>& fileExists) {
    LinkDecision d;
    if (url.find('\xA4') != std::string_view::npos) {
        if (auto ref = DecodeCrossRefLink(url)) {
            d.kind = LinkDecision::OpenPassage;
            d.passage = *ref;
        }
        return d;
    }
    if (url.find('#') != std::string_view::npos) {
        d.kind = LinkDecision::Proceed;
        return d;
    }
    if (!url.empty() && fileExists && fileExists(std::string(url))) d.kind = LinkDecision::Proceed;
    return d;
}

std::vector<BookIndexItem> BookIndexItems(const Communs& c, int book) {
    std::vector<BookIndexItem> items;
    const auto& index = c.IndexTable;
    const int last = c.IndexSlotCount();
    int i = 1;
    while (i <= last && index[i].Book != kEndMarker && index[i].Book < book)
        ++i;
    for (; i <= last && index[i].Book == book; ++i) {
        const TIndex& h = index[i];
        std::string_view title = storedtext::FirstCharacters(h.Title.view(), 150);
        std::string text;
        if (h.Kind == 'D') {
            text = "<B>" + std::string(title) + "</B>";
        } else if (h.Kind == 'E') {
            text = "<IND x=\"10\">" + std::string(title);
        } else {
            continue;
        }
        // Unchecked numbers wrap rather than overflow.
        auto value = static_cast<std::int32_t>(static_cast<std::uint32_t>(h.Chapter) * 1000u +
                                               static_cast<std::uint32_t>(h.Verse));
        items.push_back({std::move(text), value, h.Chapter, h.Verse});
    }
    return items;
}

int BookIndexTopItem(const std::vector<BookIndexItem>& items, int chapter) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].chapter >= chapter) return static_cast<int>(i);
    return 0;
}

}  // namespace lorvane
