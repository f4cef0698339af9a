#include "StrongNumber.h"

#include <cstdio>

namespace lorvane::words {

namespace {

constexpr int kGreekLast = 5624;
constexpr int kHebrewLast = 8674;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
char Upper(char c) {
    return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

}  // namespace

std::string NormaliseStrong(std::string_view raw, char language) {
    language = Upper(language);
    if (language != 'G' && language != 'H') return {};
    std::string_view text = Trimmed(raw);
    for (std::string_view prefix : {std::string_view("strong:"), std::string_view("Strong:")})
        if (text.substr(0, prefix.size()) == prefix) text.remove_prefix(prefix.size());
    if (!text.empty() && !IsDigit(text.front())) {
        if (Upper(text.front()) != language) return {};
        text.remove_prefix(1);
    }
    int number = 0;
    std::size_t digits = 0;
    while (digits < text.size() && IsDigit(text[digits])) {
        number = number * 10 + (text[digits] - '0');
        if (number > 99999) return {};
        ++digits;
    }
    if (digits == 0) return {};
    const std::string_view sense = Trimmed(text.substr(digits));
    // A sense letter only after a Hebrew number: "1254 a".
    if (!sense.empty() && (language != 'H' || sense.size() != 1 || !IsLower(sense[0]))) return {};
    const int last = language == 'G' ? kGreekLast : kHebrewLast;
    if (number < 1 || number > last) return {};
    char out[8];
    std::snprintf(out, sizeof out, "%c%04d", language, number);
    return std::string(out) + std::string(sense);
}

std::vector<std::string> NormaliseStrongs(std::string_view raw, char language) {
    std::vector<std::string> numbers;
    std::size_t start = 0;
    while (start < raw.size()) {
        std::size_t end = raw.find(' ', start);
        if (end == std::string_view::npos) end = raw.size();
        std::string_view word = raw.substr(start, end - start);
        // A Hebrew sense letter stands apart from its number: "1254 a".
        if (end + 2 <= raw.size() && IsLower(raw[end + 1]) &&
            (end + 2 == raw.size() || raw[end + 2] == ' ')) {
            word = raw.substr(start, end + 2 - start);
            end += 2;
        }
        if (std::string number = NormaliseStrong(word, language); !number.empty())
            numbers.push_back(std::move(number));
        start = end + 1;
    }
    return numbers;
}

HebrewLemma ParseHebrewLemma(std::string_view lemma) {
    HebrewLemma out;
    lemma = Trimmed(lemma);
    if (lemma.empty()) return out;
    out.valid = true;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = lemma.find('/', start);
        std::string_view part =
            lemma.substr(start, slash == std::string_view::npos ? lemma.npos : slash - start);
        const bool last = slash == std::string_view::npos;
        if (part.size() == 1 && IsLower(part[0])) {
            out.prefixes.emplace_back(part);
        } else if (!part.empty() && out.strong.empty()) {
            if (part.back() == '+') {
                out.compound = true;
                part.remove_suffix(1);
            }
            out.strong = NormaliseStrong(part, 'H');
            if (out.strong.empty()) out.valid = false;
        } else {
            out.valid = false;
        }
        if (last) return out;
        start = slash + 1;
    }
}

}  // namespace lorvane::words
