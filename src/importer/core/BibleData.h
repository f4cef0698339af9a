#pragma once

// A Bible as the data folder holds it, built by one of the importers: the
// 66 book records, the verses in reading order, the headings and the
// cross-references, all text in Windows-1252.

#include <cstddef>
#include <string>
#include <vector>

#include "DataWriter.h"
#include "Report.h"
#include "WordTags.h"

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
    // The Bible's own names of its books, as its source writes them (for
    // the book numbered n, entry n - 1; empty where the source gives none).
    // The lists and references stay French: these are kept beside them.
    std::vector<std::string> ownBookNames;
    // The numbering of its verses its source names (a SWORD module's
    // Versification, "KJV"); "" when it names none and it is recognised
    // from the chapters.
    std::string numbering;
    // The words of its verses that carry a Strong's number or a parsing,
    // verse by verse; their spans are bytes of the verse texts as kept.
    std::vector<words::VerseWords> words;
};

// "GEN 3:16", for the report.
std::string Place(int book, int chapter, int verse);

// The last steps shared by the importers: headings and cross-references
// in verse order (stable, so file order within one verse), headings longer
// than the format holds cut (and listed), the counts added to the report,
// and the checks that no verse breaks the format (errors in the report).
void FinishBible(BibleData& bible, Report& report);

}  // namespace lorvane::importer
