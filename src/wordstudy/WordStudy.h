#pragma once

// What the reader learns of a word of a Bible that carries Strong's numbers
// and parsings: the tagged words of each Bible (read from its folder once,
// when a page of it first needs them), and for one word its form, its
// numbers, its parsing in French, the prefixes of a Hebrew word and the
// dictionary entries of its numbers. Widget-free.

#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Communs.h"
#include "Morphology.h"
#include "PageWords.h"
#include "StrongsDictionary.h"
#include "WordTable.h"

namespace lorvane::wordstudy {

// An entry of a Strong's dictionary, in its own language (English).
using DictionaryEntry = words::StrongsEntry;
// Looks a number up; nothing when the dictionary lacks it (or is missing).
using Dictionary = std::function<std::optional<DictionaryEntry>(std::string_view number)>;

// The Strong's dictionaries of the program's folder (StrongsDictionary.h),
// read the first time a word is looked up, then kept.
Dictionary ShippedDictionaries(std::string programFolder);

// A prefix of a Hebrew word: its letter as the lemma writes it ("b"), the
// Hebrew letter and its meaning in French.
struct HebrewPrefix {
    std::string code, letter, meaning;
};
// « dans, avec » for "b"; nothing for a letter the morphology does not use.
std::optional<HebrewPrefix> ExplainHebrewPrefix(std::string_view code);

struct WordFacts {
    std::string written;                   // the word as the verse writes it
    std::string reference;                 // « Jean 1:1 »
    std::vector<std::string> numbers;      // "G3056"; several for some words
    std::string lemma;                     // as the source gives it ("λόγος", "b/7225")
    std::string code;                      // the parsing code as written ("N-NSM")
    words::Parsing parsing;                // in French; empty without a code
    std::vector<HebrewPrefix> prefixes;    // of a Hebrew word
    std::vector<DictionaryEntry> entries;  // one per number the dictionary has
};

class WordStudy {
  public:
    WordStudy() = default;
    WordStudy(const WordStudy&) = delete;
    WordStudy& operator=(const WordStudy&) = delete;

    // The dictionary the facts of a word come with, asked only when a word
    // is described (so that it can load then).
    void SetDictionary(Dictionary dictionary) { dictionary_ = std::move(dictionary); }

    // The tagged words of the Bible of these tables, for its pages; read
    // from its folder the first time (none when it has no words file, or
    // one that does not read).
    PageWords WordsOf(const Communs& c);
    // The words of that Bible when they were looked for already (read, or
    // found missing); nothing before, so that a caller can read them later.
    std::optional<PageWords> Looked(const Communs& c) const;
    // Whether the Bible of these tables has tagged words.
    bool HasWords(const Communs& c) { return WordsOf(c).table != nullptr; }
    // The table whose page anchors carry `id`; null when none does.
    const words::WordTable* TableOf(int id) const;

    // The facts of the word an anchor names in the Bible of `c` (whose
    // words carry that anchor's id); nothing when the anchor names no word.
    std::optional<WordFacts> Describe(const Communs& c, const WordAnchor& anchor) const;

    // The dictionary's entry of a number ("G3004"); nothing without one.
    std::optional<DictionaryEntry> Entry(std::string_view number) const;

    // The word an anchor names, as its verse writes it; empty when none.
    std::string WrittenWord(const Communs& c, const WordAnchor& anchor) const;

  private:
    struct Loaded {
        std::string dir;
        std::unique_ptr<words::WordTable> table;  // null: the Bible has none
    };
    std::vector<Loaded> loaded_;  // the id of a Bible's words is its index
    Dictionary dictionary_;
};

// The facts as the pane shows them, in HTML: the word, its dictionary form
// and transliteration, its numbers, its parsing in full words, the
// prefixes, then each dictionary entry under the label that says it is in
// English.
std::string FactsHtml(const WordFacts& facts);
// A dictionary entry as the pane shows it, under the label that says it is
// in English; the numbers it refers to are links (kStrongLinkScheme).
std::string EntryHtml(const DictionaryEntry& entry);
inline constexpr std::string_view kStrongLinkScheme = "lorvane-strong:";

// What a screen reader hears first: « λόγος, G3056, nom, nominatif,
// masculin, singulier ».
std::string FactsSummary(const WordFacts& facts);

}  // namespace lorvane::wordstudy
