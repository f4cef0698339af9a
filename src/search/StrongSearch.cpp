#include "StrongSearch.h"

#include "StrongNumber.h"
#include "VerseText.h"

namespace lorvane {

std::string StrongQuery(std::string_view query) {
    while (!query.empty() && static_cast<unsigned char>(query.front()) <= ' ')
        query.remove_prefix(1);
    while (!query.empty() && static_cast<unsigned char>(query.back()) <= ' ')
        query.remove_suffix(1);
    if (query.size() < 2 || query.size() > 8) return {};
    const char language = query[0] == 'g' || query[0] == 'G'   ? 'G'
                          : query[0] == 'h' || query[0] == 'H' ? 'H'
                                                               : 0;
    if (language == 0 || query[1] < '0' || query[1] > '9') return {};
    return words::NormaliseStrong(query, language);
}

SearchResults FindStrong(const Communs& c, const words::WordTable* table, const std::string& number,
                         SlotRange range, int cap) {
    SearchResults r;
    r.strong = number;
    if (!table) {
        r.untagged = true;
        return r;
    }
    const auto found = table->Occurrences(number);
    for (std::size_t k = 0; k < found.size();) {
        // The occurrences of one verse together.
        std::size_t end = k + 1;
        while (end < found.size() && found[end].book == found[k].book &&
               found[end].chapter == found[k].chapter && found[end].verse == found[k].verse)
            ++end;
        const auto& at = found[k];
        const std::int32_t slot = c.VerseLookup(at.book, at.chapter, at.verse);
        if (slot > 0 && !range.Empty() && slot >= range.first && slot <= range.last) {
            ++r.total;
            r.occurrences += static_cast<int>(end - k);
            if (static_cast<int>(r.items.size()) < cap) {
                const TVerset& v = c.VerseTable[static_cast<std::size_t>(slot)];
                const auto tags = table->VerseWords(at.book, at.chapter, at.verse);
                std::string text;
                std::size_t written = 0;
                for (std::size_t m = k; m < end; ++m) {
                    const auto& tag = tags[found[m].word];
                    if (tag.start < written || tag.start + tag.length > v.Text.size()) continue;
                    text += v.Text.substr(written, tag.start - written);
                    text += "<FONT color=\"#C00400\">";
                    text += v.Text.substr(tag.start, tag.length);
                    text += "</FONT>";
                    written = tag.start + tag.length;
                }
                text += v.Text.substr(written);
                std::string item =
                    "<B>" + c.FormatShortRef(v.Book, v.Chapter, v.Verse, 0) + "</B> : ";
                AppendBidiClosed(item, text);
                r.items.push_back({std::move(item), ResultItemValue(c, slot), slot});
            } else {
                r.capped = true;
            }
        }
        k = end;
    }
    return r;
}

}  // namespace lorvane
