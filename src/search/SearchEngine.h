#pragma once

// The search of the verse text, without widgets: the terms of a query, the
// slots of a scope, the verses that hold every term, the result items with
// the terms coloured, and the count line. All text is UTF-8.
//
//   SearchResults found = Search(c, {query, kSearchWords, kScopeNewTestament, book, chapter});
//   for (const SearchResultItem& item : found.items)
//       list.Add(item.text, item.value);
//   list.InsertTop(HeadLine(found), 0);

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "Communs.h"

namespace lorvane::words {
class WordTable;
}

namespace lorvane {

// The cap: a search stops at its 200th matching verse.
inline constexpr int kMaxSearchResults = 200;

// Methods, as the items of the method list.
inline constexpr int kSearchWords = 0;   // verses holding every word
inline constexpr int kSearchPhrase = 1;  // verses holding the exact phrase
inline constexpr int kSearchFolded = 2;  // every word, whatever its accents and capitals

// Scopes, as the items of the scope list.
inline constexpr int kScopeChapter = 0;
inline constexpr int kScopeBook = 1;
inline constexpr int kScopeNewTestament = 2;
inline constexpr int kScopeOldTestament = 3;
inline constexpr int kScopeWholeBible = 4;

// The terms of a query. Words: the words of the query, which blanks
// (spaces and control characters, bytes up to 0x20) separate, however many
// stand between them or around them. Folded words: the same words, each
// folded (FoldText); a word ending in '*' stands for the words that begin
// with it. Phrase (any other method): the query with its leading and
// trailing blanks taken off and each run of blanks written as one space, as
// the one term; no term when nothing is left.
// In every method the typographic apostrophes (‘ ’) of the query become the
// keyboard apostrophe.
std::vector<std::string> SearchTerms(std::string_view query, int method);

// The folded form of a text, in which words compare whatever their accents
// and capitals, in every script: each character decomposed (NFD), its
// combining marks (category Mn: accents, Hebrew points, Greek breathings,
// stress marks) left out, then case-folded (É -> e, ç -> c, Σ and ς -> σ);
// œ and æ written oe and ae (Œ and Æ too), the typographic apostrophes '.
std::string FoldText(std::string_view text);

// The capitalised variant of a term: the whole term with its first
// character in capitals (é -> É, œ -> Œ, λ -> Λ).
std::string CapitalisedVariant(std::string_view term);

// Slots first to last, both included; empty when first < 1 or last < first.
struct SlotRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
    bool Empty() const { return first < 1 || last < first; }
};

// The slots of a scope: the current chapter or book, the New or Old
// Testament, or the whole Bible. A scope whose first verse is missing from
// the lookup, and a scope number outside 0-4, give an empty range.
SlotRange SearchRange(const Communs& c, int scope, int currentBook, int currentChapter);

struct VerseMatches {
    std::vector<std::int32_t> verses;  // the first `cap` matching slots, in slot order
    int total = 0;                     // every matching slot of the range
    bool capped = false;               // more slots match than `verses` holds
};

// The slots of the range whose text holds every term, each as typed or as
// its capitalised variant, anywhere and in any order: case-sensitive
// otherwise, accents distinct, no word boundaries. A space of a term (the
// phrase's) stands for a run of spaces in the verse. No term, or an empty
// term, finds nothing. The first `cap` slots are kept; the others are
// counted.
VerseMatches FindVerses(const Communs& c, const std::vector<std::string>& terms, SlotRange range,
                        int cap = kMaxSearchResults);

// The folded copy of the verse texts, made once for the folded search:
// the texts of all slots, folded, one after the other in slot order.
class FoldedVerses {
  public:
    explicit FoldedVerses(const Communs& c);
    // The folded text of a slot (1 to SlotCount()).
    std::string_view Text(std::int32_t slot) const {
        const auto s = static_cast<std::size_t>(slot);
        return std::string_view(bytes_).substr(starts_[s], starts_[s + 1] - starts_[s]);
    }
    std::int32_t SlotCount() const { return static_cast<std::int32_t>(starts_.size()) - 2; }
    std::uint8_t VerseTerminator() const { return terminator_; }
    // The memory the copy takes.
    std::size_t MemoryBytes() const {
        return bytes_.capacity() + starts_.capacity() * sizeof(std::size_t);
    }

    // All the folded texts, and where the text of a slot starts in them
    // (Start(SlotCount() + 1) is their end).
    std::string_view Bytes() const { return bytes_; }
    std::size_t Start(std::int32_t slot) const { return starts_[static_cast<std::size_t>(slot)]; }

  private:
    std::string bytes_;
    std::vector<std::size_t> starts_;  // slot s: bytes_[starts_[s], starts_[s + 1])
    std::uint8_t terminator_ = 254;
};

// The slots of the range whose folded text holds every term (folded terms,
// as SearchTerms gives them) as a whole word, anywhere and in any order; a
// term ending in '*' as the beginning of a word. Between ASCII characters
// letters and digits make words and anything else (spaces, signs,
// apostrophes, hyphens) parts them; elsewhere Unicode's word boundaries
// decide (QTextBoundaryFinder). A term in a script written without spaces
// (Chinese, Japanese, Thai...) matches inside the text. No term, an empty
// term, or a term holding the verse terminator finds nothing. The first
// `cap` slots are kept; the others are counted.
VerseMatches FindFoldedVerses(const FoldedVerses& folded, const std::vector<std::string>& terms,
                              SlotRange range, int cap = kMaxSearchResults);

// A result item: "<B>" + FormatShortRef(book, chapter, verse, 0) + "</B> : "
// + the verse text as stored, the direction controls it leaves open closed;
// its position value, book * 1000 + chapter.
std::string ResultItemText(const Communs& c, std::int32_t slot);
std::int32_t ResultItemValue(const Communs& c, std::int32_t slot);
// The book and chapter a position value names.
struct ResultChapter {
    int book = 0;
    int chapter = 0;
};
ResultChapter ResultItemChapter(std::int32_t value);

// Colours the terms in a verse text: every occurrence of a term, as typed or
// as its capitalised variant (a space of a term standing for a run of
// spaces), is wrapped once in <FONT color="#C00400"> ... </FONT>;
// occurrences that overlap or touch are wrapped as one, and none is taken
// inside a tag of the text. A text that would grow past kMaxHighlightedItem
// bytes keeps the colours given so far and takes no more.
inline constexpr std::size_t kMaxHighlightedItem = 16384;
std::string HighlightTerms(std::string_view text, const std::vector<std::string>& terms);

// The same for folded terms: the words of the text that the folded search
// matches, whatever their accents and capitals ("Cœur" for "coeur").
std::string HighlightFoldedTerms(std::string_view text, const std::vector<std::string>& terms);

// The coloured result item of a slot, as the list shows it: the item of
// ResultItemText with only the verse text coloured, the reference in bold.
std::string ColouredResultItem(const Communs& c, std::int32_t slot,
                               const std::vector<std::string>& terms, int method);

// The count line for a number of results, formatted:
// <FONT color="gray"><B>...</B></FONT>.
std::string CountLine(int count);

// The line at the head of the list when more verses match than it shows:
// "577 versets trouvés ; seuls les 200 premiers, ..." in the count line's
// form.
std::string CapLine(int total);

// The count line for a search that found nothing with an exact method
// while the folded method finds something: it points to that method.
std::string FoldedHintLine();

// Whether the folded method would find the query in the range.
bool FoldedWouldFind(const FoldedVerses& folded, std::string_view query, SlotRange range);

// "%d" replaced by the decimal number, "%%" by "%"; the rest as it stands.
std::string FormatCount(std::string_view format, int number);

// A whole search, as the search pane runs it, with the items coloured.
struct SearchRequest {
    std::string query;
    int method = kSearchWords;
    int scope = kScopeNewTestament;
    int currentBook = 1;
    int currentChapter = 1;
    // The tagged words of the Bible searched: a query that is a Strong's
    // number alone ("G3056", "H430") finds the verses with a word of that
    // number, whatever the method.
    const words::WordTable* words = nullptr;
};

struct SearchResultItem {
    std::string text;
    std::int32_t value = 0;
    std::int32_t slot = 0;  // the verse's
};

struct SearchResults {
    std::vector<std::string> terms;
    std::vector<SearchResultItem> items;  // without the count line
    int total = 0;                        // every matching verse, shown or not
    bool capped = false;                  // more verses match than items shows
    bool foldedHint = false;              // none found, but the folded method finds some
    std::string strong;                   // the Strong's number searched ("G3056"), if one
    int occurrences = 0;                  // its words in the verses found
    bool untagged = false;                // the Bible has no Strong's numbers
};

// The line at the head of the list for these results.
std::string HeadLine(const SearchResults& results);

// The folded search, and the hint of an exact search that finds nothing,
// use the copy that `folded` gives, asked for only when needed; without it,
// a copy made for the call.
SearchResults Search(const Communs& c, const SearchRequest& request,
                     const std::function<const FoldedVerses&()>& folded = {});

}  // namespace lorvane
