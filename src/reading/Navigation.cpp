#include "Navigation.h"

#include <algorithm>
#include <charconv>

namespace lorvane {

std::string TabCaption(const Communs& c, int book, int chapter) {
    std::string caption(c.Book(book).Name.view());
    caption += ' ';
    if (caption.size() > 26) caption.resize(26);
    return caption + std::to_string(chapter);
}

int FirstBook(const Communs& c) {
    for (int book = 1; book <= kBookCount; ++book)
        if (c.Book(book).ChapterCount > 0) return book;
    return 1;
}

std::int32_t PlaceInBible(const Communs& c, std::int32_t tabValue) {
    const int book = tabValue / 1000, chapter = tabValue % 1000;
    if (book < 1 || book > kBookCount || c.Book(book).ChapterCount == 0)
        return TabValue(FirstBook(c), 1);
    if (chapter < 1 || c.VerseLookup(book, chapter, 1) == 0) return TabValue(book, 1);
    return tabValue;
}

std::optional<std::int32_t> ParseDecimal(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() ||
        !std::all_of(text.begin(), text.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
        return std::nullopt;
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<VerseRef> DecodeCrossRefLink(std::string_view url) {
    constexpr char kCurrency = '\xA4';
    std::size_t first = url.find(kCurrency);
    if (first == std::string_view::npos) return std::nullopt;
    std::string_view fields = url.substr(first + 1, 20);
    std::int32_t numbers[4];
    for (int i = 0; i < 4; ++i) {
        auto n = ParseDecimal(ExtractField(fields, i + 1, kCurrency));
        if (!n) return std::nullopt;
        numbers[i] = *n;
    }
    return VerseRef{numbers[0], numbers[1], numbers[2], numbers[3]};
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

std::string_view LastUrlComponent(std::string_view url) {
    std::size_t cut = url.find_last_of("/\\:");
    return cut == std::string_view::npos ? url : url.substr(cut + 1);
}

std::optional<VerseRef> DecodeVerseLink(std::string_view url) {
    std::string text(url);
    std::replace(text.begin(), text.end(), '-', ':');
    auto book = ParseDecimal(ExtractField(text, 1, ':'));
    auto chapter = ParseDecimal(ExtractField(text, 2, ':'));
    auto first = ParseDecimal(ExtractField(text, 3, ':'));
    if (!book || !chapter || !first) return std::nullopt;
    std::int32_t last = *first;
    std::string fourth = ExtractField(text, 4, ':');
    if (!fourth.empty()) {
        auto n = ParseDecimal(fourth);
        if (!n) return std::nullopt;
        last = std::max(*n, *first);
    }
    if (*book < 1 || *book > kBookCount || *chapter < 1 || *chapter > kMaxChapter || *first < 1 ||
        last > kMaxVerse)
        return std::nullopt;
    return VerseRef{*book, *chapter, *first, last};
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
        std::string_view title = h.Title.view().substr(0, 150);
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
        items.push_back({std::move(text), value, h.Chapter});
    }
    return items;
}

int BookIndexTopItem(const std::vector<BookIndexItem>& items, int chapter) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].chapter >= chapter) return static_cast<int>(i);
    return 0;
}

}  // namespace lorvane
