#pragma once

// The verse-by-verse comparison of one chapter in several Bibles: the rows
// that line their verses up, and the pages the reading pane and the passage
// window show of them. Widget-free; the texts are UTF-8, a verse written right to left in a cell or
// paragraph of that direction.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "ChapterPage.h"
#include "Communs.h"
#include "CompareSet.h"

namespace lorvane {

// What one Bible has at one row: its verse, the headings that come before
// it and its cross-references, as slots of its own tables.
struct CompareCell {
    std::int32_t slot = 0;                // VerseTable slot; 0 where the Bible lacks the verse
    std::vector<std::int32_t> more;       // its further verses at this row (a verse split in two)
    std::vector<std::int32_t> headings;   // IndexTable slots, in table order
    std::vector<std::int32_t> crossRefs;  // CrossRefTable slots, in table order
};

// One verse, paired by meaning: each Bible's cell holds its own verse of
// that place of the Louis Segond, with its own number.
struct CompareRow {
    int verse = 0;                   // the first Bible's number; 0 on a row it lacks
    std::vector<CompareCell> cells;  // one per Bible, in column order
};

// Whether a Bible has the chapter at all.
enum class ChapterState { Present, MissingChapter, MissingBook };

struct ComparedChapter {
    std::vector<ChapterState> states;  // one per Bible, in column order
    std::vector<CompareRow> rows;      // in verse order
};

// Lines up a chapter of the first Bible, as that Bible numbers it, with
// the same verses of the others, each numbered as it numbers them: Psaume
// 51:9 of the Segond beside Psaume 51:7 of an English Bible. The verses of
// the Segond place the first Bible lacks around its own get rows of their
// own (a Psalm's title); a chapter the first Bible lacks is lined up as the
// Segond numbers it. Null entries count as Bibles lacking every chapter. A
// heading goes to the row of its Bible's first verse at or after its own;
// one after its Bible's last verse is left out, as are the references of a
// verse on no row.
ComparedChapter CompareChapter(std::span<const Communs* const> bibles, int book, int chapter);

// The reading pane's page of a chapter, or the passage window's page in
// passage mode, for the Bibles in column order (the first one's TextSize
// and the request's options apply to all). Same file conventions as the
// chapter page (ChapterPage.h).
ChapterPage BuildComparePage(std::span<const ComparedBible> bibles,
                             const ChapterPageRequest& request);

// The chapter of the Bibles in column order on paper (printed, saved as
// PDF): one table whose header row of abbreviations comes again at the top
// of every page, and no column for a Bible that lacks the book. UTF-8
// HTML.
std::string BuildComparePrintPage(std::span<const ComparedBible> bibles, int book, int chapter);

// Builds the page and writes it where the chapter page goes, in the first
// Bible's AppDir. Returns whether a verse was written; throws
// std::runtime_error when the file cannot be written.
bool WriteComparePage(std::span<const ComparedBible> bibles, const ChapterPageRequest& request);

// "LSG", "LSG et DBY", "LSG, DBY et MAR": the abbreviations as a reader
// says them (UTF-8).
std::string JoinAbbreviations(std::span<const ComparedBible> bibles);

}  // namespace lorvane
