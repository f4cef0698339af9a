#pragma once

// Which verses a Bible has, for the readers that check where a reference
// or a link leads.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "BibleData.h"

namespace lorvane::importer {

// Which verses a Bible has.
class VerseIndex {
  public:
    explicit VerseIndex(const std::vector<dw::VerseEntry>& verses);

    bool Has(int book, int chapter, int verse) const;
    // The number of the last verse of a chapter, 0 when the chapter has none.
    int LastVerse(int book, int chapter) const;
    // A reference target: the chapter exists and, unless first is 0 (the
    // whole chapter), its first verse, and its last verse when last is set.
    bool HasTarget(int book, int chapter, int first, int last) const;

  private:
    static std::size_t Slot(int book, int chapter, int verse) {
        return (static_cast<std::size_t>(book - 1) * (kMaxChapter + 1) + chapter) *
                   (kMaxVerse + 1) +
               verse;
    }
    static bool InRange(int book, int chapter, int verse) {
        return book >= 1 && book <= kBooks && chapter >= 1 && chapter <= kMaxChapter &&
               verse >= 0 && verse <= kMaxVerse;
    }
    std::vector<std::uint8_t> has_;  // per verse; verse 0 marks the chapter
    std::vector<std::uint8_t> last_;
};

}  // namespace lorvane::importer
