#pragma once

// A Bible as the data folder holds it, built by one of the importers: the
// 66 book records, the verses in reading order, the headings and the
// cross-references, all text in Windows-1252.

#include <cstdint>
#include <string>
#include <vector>

#include "DataWriter.h"
#include "Report.h"

namespace lorvane::importer {

namespace dw = lorvane::datawriter;

inline constexpr int kBooks = 66;
inline constexpr int kMaxChapter = 150;
inline constexpr int kMaxVerse = 176;
// Verse slots the reading program sets aside; more verses still load.
inline constexpr std::size_t kVerseSlots = 31171;

struct BibleData {
    std::string source;  // "USFM folder ...", "SWORD module ..."
    std::vector<dw::BookRecord> books;
    std::vector<dw::VerseEntry> verses;
    std::vector<dw::IndexRecord> headings;
    std::vector<dw::CrossRefRecord> crossRefs;
};

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

// "GEN 3:16", for the report.
std::string Place(int book, int chapter, int verse);

// The last steps shared by the importers: headings and cross-references
// in verse order (stable, so file order within one verse), headings longer
// than the format holds cut (and listed), the counts added to the report,
// and the checks that no verse breaks the format (errors in the report).
void FinishBible(BibleData& bible, Report& report);

}  // namespace lorvane::importer
