#pragma once

// The USFM importer: one file per book, UTF-8 (or Windows-1252 when a file
// says so or is not valid UTF-8), the book number taken from the \id code.
// Verse text keeps the words of the character markers (\wj, \it, \qs, ...)
// and drops notes, introductions, titles and the other non-text markers;
// \ms headings become major headings ("D"), \s, \sp, \d and \qa section
// headings ("E"), each before the verse that follows it. The cross-reference
// notes (\x ... \xt REFS \x*) give the cross-references, their reference
// lists read as French abbreviations (FrenchRefs.h).

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "Bible.h"
#include "BibleText.h"
#include "Report.h"

namespace lorvane::importer {

// One book file, parsed.
struct UsfmBook {
    std::string file;
    std::string code;                           // "GEN"
    int number = 0;                             // 1-66, 0 for a book outside the 66
    std::string toc1, toc2, toc3, runningHead;  // UTF-8
    std::vector<dw::VerseEntry> verses;
    std::vector<dw::IndexRecord> headings;
    struct Note {
        int chapter = 0, verse = 0;
        std::string refs;  // UTF-8 text of the \xt parts
    };
    std::vector<Note> notes;
    int chapterCount = 0;  // the number of the last chapter
};

// Parses the text of one book file (UTF-8). Warnings go to the report with
// their place.
UsfmBook ParseUsfmBook(std::string_view utf8, const std::string& file, TextConverter& text,
                       Report& report);

// Reads every *.usfm and *.sfm file of a folder into a complete Bible: the 66
// books, their names and abbreviations from the French canon (the source's
// own short titles are listed in the report where they differ), the
// cross-references resolved and checked against the verses. Throws
// std::runtime_error when the folder cannot be read or a book is missing or
// given twice.
BibleData ImportUsfm(const std::filesystem::path& folder, Report& report);

// Turns the notes of the books into cross-reference records: each target of
// each note parsed, then kept only when its verses exist. Counts go to the
// report.
std::vector<dw::CrossRefRecord> ResolveCrossRefs(const std::vector<UsfmBook>& books,
                                                 const VerseIndex& verses, Report& report);

}  // namespace lorvane::importer
