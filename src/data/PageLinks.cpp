#include "PageLinks.h"

#include <algorithm>
#include <charconv>

namespace lorvane {

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

}  // namespace lorvane
