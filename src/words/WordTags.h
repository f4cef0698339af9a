#pragma once

// The words of a verse that carry a Strong's number or a parsing code, as the
// importers find them and as a Bible's data folder keeps them (mots.txt).
// Widget-free; nothing here throws on bad input.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace lorvane::words {

// One tagged word: where it lies in the verse text as stored (bytes of the
// UTF-8 text), its numbers in the one written form ("G3056", "H1254a",
// several separated by a space), its parsing code with its scheme
// ("robinson:V-AAI-3S", "oshm:HR/Ncfsa"; a code of another scheme is kept as
// written) and the lemma its source gives: a Greek dictionary form
// ("λόγος"), or a Hebrew lemma with its prefixes ("b/7225").
struct WordTag {
    std::uint32_t start = 0, length = 0;
    std::string strongs, morph, lemma;
};

// The marks an importer puts around a tagged word while it gathers a verse's
// text (private-use characters, which no conversion of the text changes);
// TakeWordMarks takes them out of the finished text.
inline constexpr std::string_view kWordOpen = "\xEE\x80\x80";   // U+E000
inline constexpr std::string_view kWordClose = "\xEE\x80\x81";  // U+E001

// Removes the marks from `text` and gives, for each opening mark in order,
// the byte span of the text it encloses (after removal). An opening mark
// never closed runs to the end of the text; a closing mark with no opening
// is dropped. Spaces at either end of a span are left out of it.
std::vector<std::pair<std::uint32_t, std::uint32_t>> TakeWordMarks(std::string& text);

// Removes the marks without keeping the spans (a text whose tags are not kept).
void DropWordMarks(std::string& text);

// The tag of a word from its source's attributes. `lemma` is OSIS's
// ("strong:G3056 lemma.TR:λόγος", "b/7225", "1254 a") or USFM's
// ("G3056", "strong" attribute); `morph` is OSIS's ("robinson:V-AAI-3S",
// "HR/Ncfsa", "strongMorph:TH8804"). Bare numbers and codes take the
// language of the testament (`hebrew` for the Old). Each field is cut to a
// sound length, at most eight numbers are kept, and what cannot be read is
// left out. The span is left zero.
WordTag TagFromAttributes(std::string_view lemma, std::string_view morph, bool hebrew);

// True when the tag says something worth keeping.
inline bool HasContent(const WordTag& t) {
    return !t.strongs.empty() || !t.morph.empty() || !t.lemma.empty();
}

// The tags of one verse, for the data folder.
struct VerseWords {
    int book = 0, chapter = 0, verse = 0;
    std::vector<WordTag> tags;
};

// Takes the marks out of a verse's finished `text` and gives the verse's
// words: each of `tags` (one per opening mark, in order) with its span;
// a tag whose span is empty or that says nothing is left out. `tags` is
// emptied.
VerseWords PlaceTags(int book, int chapter, int verse, std::string& text,
                     std::vector<WordTag>& tags);

// mots.txt: a first line "lorvane-mots 1", then one line per word, in
// reading order: book, chapter, verse, start, length, numbers, parsing and
// lemma, separated by tabs.
inline constexpr const char* kWordsFile = "mots.txt";
std::string EncodeWords(const std::vector<VerseWords>& verses);

// The parsing code without its scheme, and whether it is a Greek (Robinson)
// or a Hebrew (OSHM) one.
enum class MorphScheme { Robinson, Oshm, Other };
MorphScheme SchemeOf(std::string_view morph);
std::string_view CodeOf(std::string_view morph);

}  // namespace lorvane::words
