#pragma once

// The tagged words of one Bible, read from its data folder's mots.txt: the
// words of a verse for the page and the word pane, and every verse where a
// Strong's number occurs. Widget-free; a damaged line is skipped.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::words {

class WordTable {
  public:
    struct Word {
        std::uint32_t start = 0, length = 0;  // bytes of the verse text
        std::string_view strongs, morph, lemma;
    };
    struct Occurrence {
        int book = 0, chapter = 0, verse = 0;
        std::uint32_t word = 0;  // index among the verse's tagged words
    };

    WordTable() = default;
    WordTable(const WordTable&) = delete;
    WordTable& operator=(const WordTable&) = delete;
    WordTable(WordTable&&) = default;
    WordTable& operator=(WordTable&&) = default;

    // The table of the file's bytes; lines that do not read are skipped and
    // counted. A file of another kind gives an empty table.
    static WordTable Parse(std::string bytes);

    bool Empty() const { return words_.empty(); }
    std::size_t WordCount() const { return words_.size(); }
    std::size_t SkippedLines() const { return skipped_; }

    // The tagged words of a verse, in reading order (empty when it has none).
    std::span<const Word> VerseWords(int book, int chapter, int verse) const;

    // Every word carrying `strong` (written in the one form, "G3056"), in
    // reading order. Several numbers of one word count once each.
    std::vector<Occurrence> Occurrences(std::string_view strong) const;

  private:
    struct VerseSlot {
        std::uint32_t key = 0, first = 0, count = 0;
    };
    static std::uint32_t Key(int book, int chapter, int verse) {
        return static_cast<std::uint32_t>(book) << 16 | static_cast<std::uint32_t>(chapter) << 8 |
               static_cast<std::uint32_t>(verse);
    }

    std::unique_ptr<std::string> bytes_;  // the words' fields point into it
    std::vector<Word> words_;
    std::vector<VerseSlot> verses_;  // in key order
    std::size_t skipped_ = 0;
};

}  // namespace lorvane::words
