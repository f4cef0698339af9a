#include "WordTable.h"

#include <algorithm>
#include <charconv>

namespace lorvane::words {

namespace {

bool ReadNumber(std::string_view field, std::uint32_t limit, std::uint32_t& out) {
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || value > limit) return false;
    out = value;
    return true;
}

bool HasNumber(std::string_view strongs, std::string_view strong) {
    std::size_t at = 0;
    while ((at = strongs.find(strong, at)) != std::string_view::npos) {
        const std::size_t end = at + strong.size();
        if ((at == 0 || strongs[at - 1] == ' ') && (end == strongs.size() || strongs[end] == ' '))
            return true;
        at = end;
    }
    return false;
}

}  // namespace

WordTable WordTable::Parse(std::string bytes) {
    WordTable table;
    table.bytes_ = std::make_unique<std::string>(std::move(bytes));
    const std::string_view all = *table.bytes_;
    std::size_t pos = all.find('\n');
    if (pos == std::string_view::npos || all.substr(0, pos) != "lorvane-mots 1") return table;
    ++pos;
    // One word a line: the room for them all at once.
    const auto lines = static_cast<std::size_t>(
        std::count(all.begin() + static_cast<std::ptrdiff_t>(pos), all.end(), '\n'));
    table.words_.reserve(lines + 1);
    table.verses_.reserve(lines / 8 + 1);
    std::uint32_t lastKey = 0;
    bool sorted = true;
    while (pos < all.size()) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view line = all.substr(pos, end - pos);
        pos = end + 1;
        if (line.empty()) continue;
        std::string_view fields[8];
        std::size_t count = 0, at = 0;
        while (count < 8) {
            const std::size_t tab = line.find('\t', at);
            fields[count++] = line.substr(at, tab == std::string_view::npos ? line.npos : tab - at);
            if (tab == std::string_view::npos) break;
            at = tab + 1;
        }
        std::uint32_t book = 0, chapter = 0, verse = 0;
        Word word;
        if (count != 8 || !ReadNumber(fields[0], 66, book) || book == 0 ||
            !ReadNumber(fields[1], 255, chapter) || !ReadNumber(fields[2], 255, verse) ||
            !ReadNumber(fields[3], 1u << 20, word.start) ||
            !ReadNumber(fields[4], 1u << 20, word.length)) {
            ++table.skipped_;
            continue;
        }
        word.strongs = fields[5];
        word.morph = fields[6];
        word.lemma = fields[7];
        const std::uint32_t key =
            Key(static_cast<int>(book), static_cast<int>(chapter), static_cast<int>(verse));
        if (table.verses_.empty() || key != lastKey) {
            if (!table.verses_.empty() && key < lastKey) sorted = false;
            table.verses_.push_back({key, static_cast<std::uint32_t>(table.words_.size()), 0});
            lastKey = key;
        }
        table.words_.push_back(word);
        ++table.verses_.back().count;
    }
    if (!sorted) {
        // A file written out of order: its verses in order, each verse's words together.
        std::vector<std::pair<std::uint32_t, Word>> keyed;
        keyed.reserve(table.words_.size());
        for (const VerseSlot& slot : table.verses_)
            for (std::uint32_t k = 0; k < slot.count; ++k)
                keyed.push_back({slot.key, table.words_[slot.first + k]});
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        table.words_.clear();
        table.verses_.clear();
        for (const auto& [key, word] : keyed) {
            if (table.verses_.empty() || table.verses_.back().key != key)
                table.verses_.push_back({key, static_cast<std::uint32_t>(table.words_.size()), 0});
            table.words_.push_back(word);
            ++table.verses_.back().count;
        }
    }
    return table;
}

std::span<const WordTable::Word> WordTable::VerseWords(int book, int chapter, int verse) const {
    if (book < 1 || book > 255 || chapter < 0 || chapter > 255 || verse < 0 || verse > 255)
        return {};
    const std::uint32_t key = Key(book, chapter, verse);
    auto it = std::lower_bound(verses_.begin(), verses_.end(), key,
                               [](const VerseSlot& s, std::uint32_t k) { return s.key < k; });
    if (it == verses_.end() || it->key != key) return {};
    return std::span<const Word>(words_).subspan(it->first, it->count);
}

std::vector<WordTable::Occurrence> WordTable::Occurrences(std::string_view strong) const {
    std::vector<Occurrence> out;
    if (strong.empty()) return out;
    for (const VerseSlot& slot : verses_)
        for (std::uint32_t k = 0; k < slot.count; ++k)
            if (HasNumber(words_[slot.first + k].strongs, strong))
                out.push_back({static_cast<int>(slot.key >> 16),
                               static_cast<int>(slot.key >> 8 & 0xff),
                               static_cast<int>(slot.key & 0xff), k});
    return out;
}

}  // namespace lorvane::words
