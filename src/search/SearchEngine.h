#pragma once

// The search of the verse text, without widgets: the terms of a query, the
// slots of a scope, the verses that hold every term, the result items with
// the terms coloured, and the count line. All text is Windows-1252 bytes.
//
//   std::vector<std::string> terms = SearchTerms(query, kSearchWords);
//   VerseMatches found = FindVerses(c, terms, SearchRange(c, kScopeNewTestament, book, chapter));
//   for (std::int32_t slot : found.verses)
//       list.Add(HighlightTerms(ResultItemText(c, slot), terms), ResultItemValue(c, slot));
//   list.InsertTop(CountLine(static_cast<int>(found.verses.size())), 0);

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Communs.h"

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

// The terms of a query. Words: the fields ExtractField(query, 1, ' '),
// ExtractField(query, 2, ' ') ..., each trimmed of spaces and control
// characters (bytes up to 0x20), up to the first field that is empty after
// trimming (so two spaces end the query, and a leading space gives no term).
// Folded words: the same fields, each folded (FoldText).
// Phrase (any other method): the whole query, untrimmed, as the one term.
// In every method the typographic apostrophes (0x91, 0x92) of the query
// become the keyboard apostrophe, the only one the verse texts hold.
std::vector<std::string> SearchTerms(std::string_view query, int method);

// The folded form of a text, in which words compare whatever their accents
// and capitals: every letter lower-cased and stripped of its accent
// (É -> e, ç -> c, Ÿ -> y, š -> s), œ and æ written oe and ae (Œ and Æ too),
// the typographic apostrophes written '. Other bytes stay as they are.
std::string FoldText(std::string_view text);

// The capitalised variant of a term: its first byte upper-cased with the
// Windows-1252 mapping (é -> É, œ -> Œ), then its bytes 2 to 51.
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
    std::vector<std::int32_t> verses;  // slots, in slot order
    bool capped = false;               // the scan stopped at the cap
};

// The slots of the range whose text holds every term, each as typed or as
// its capitalised variant, anywhere and in any order: case-sensitive
// otherwise, accents distinct, no word boundaries. No term, or an empty
// term, finds nothing. The scan stops when `cap` slots are found.
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
// as SearchTerms gives them), anywhere and in any order, no word boundaries.
// No term, an empty term, or a term holding the verse terminator (which the
// window puts for a character Windows-1252 lacks) finds nothing. The scan
// stops when `cap` slots are found.
VerseMatches FindFoldedVerses(const FoldedVerses& folded, const std::vector<std::string>& terms,
                              SlotRange range, int cap = kMaxSearchResults);

// A result item: "<B>" + FormatShortRef(book, chapter, verse, 0) + "</B> : "
// + the verse text as stored; its position value, book * 1000 + chapter.
std::string ResultItemText(const Communs& c, std::int32_t slot);
std::int32_t ResultItemValue(const Communs& c, std::int32_t slot);

// Colours the terms of an item: for each term in order, every occurrence of
// the term, then every occurrence of its capitalised variant, is wrapped in
// <FONT color="#C00400"> ... </FONT>: literally, left to right over the
// whole text (reference and earlier tags included), without scanning the
// inserted text again. A term that is its own variant is thus wrapped twice.
// A text that would grow past kMaxHighlightedItem bytes keeps the colours
// given so far and takes no more.
inline constexpr std::size_t kMaxHighlightedItem = 16384;
std::string HighlightTerms(std::string text, const std::vector<std::string>& terms);

// Colours, in a text, the letters whose folded form holds one of the folded
// terms: each run of such letters is wrapped once in the same FONT element,
// whatever the letters' accents and capitals ("C\x9Cur" for "coeur"). The
// growth is bounded as for HighlightTerms.
std::string HighlightFoldedTerms(std::string_view text, const std::vector<std::string>& terms);

// The coloured result item of a slot, as the list shows it: the item of
// ResultItemText with HighlightTerms for the words and the phrase; for the
// folded words, the reference and the verse text coloured each with
// HighlightFoldedTerms, so that no tag is coloured.
std::string ColouredResultItem(const Communs& c, std::int32_t slot,
                               const std::vector<std::string>& terms, int method);

// The count line for a number of results, formatted:
// <FONT color="gray"><B>...</B></FONT>.
std::string CountLine(int count);

// The text of the message at the cap (CR LF between its two lines).
std::string CapMessage();

// "%d" replaced by the decimal number, "%%" by "%"; the rest as it stands.
std::string FormatCount(std::string_view format, int number);

// A whole search, as the search pane runs it, with the items coloured.
struct SearchRequest {
    std::string query;
    int method = kSearchWords;
    int scope = kScopeNewTestament;
    int currentBook = 1;
    int currentChapter = 1;
};

struct SearchResultItem {
    std::string text;
    std::int32_t value = 0;
};

struct SearchResults {
    std::vector<std::string> terms;
    std::vector<SearchResultItem> items;  // without the count line
    bool capped = false;
};

// The folded search uses `folded` when given, else a copy made for the call.
SearchResults Search(const Communs& c, const SearchRequest& request,
                     const FoldedVerses* folded = nullptr);

}  // namespace lorvane
