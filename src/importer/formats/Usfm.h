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
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "BibleText.h"
#include "Report.h"
#include "UsfmSource.h"
#include "VerseIndex.h"
#include "WordTags.h"

namespace lorvane::importer {

// One book file, parsed.
struct UsfmBook {
    std::string file;
    std::string code;                           // "GEN"
    int number = 0;                             // 1-66, 0 for a book outside the 66
    std::string toc1, toc2, toc3, runningHead;  // UTF-8
    std::vector<dw::VerseEntry> verses;
    std::vector<dw::IndexRecord> headings;
    std::vector<words::VerseWords> words;  // the tagged words of its verses
    struct Note {
        int chapter = 0, verse = 0;
        std::string refs;                   // UTF-8 text of the \xt parts
        std::vector<std::string> osisRefs;  // or the osisRef of each target ("Gen.1.1-Gen.1.3")
    };
    std::vector<Note> notes;
    int chapterCount = 0;  // the number of the last chapter
};

// Parses the text of one book file (UTF-8). Warnings go to the report with
// their place; character markers nested past a thousand levels throw
// ImportError (a damaged file).
UsfmBook ParseUsfmBook(std::string_view utf8, const std::string& file, TextConverter& text,
                       Report& report);

// How the books of a USFM source become a Bible.
struct UsfmImportOptions {
    // A partial Bible is accepted: a book the source lacks keeps its place
    // in the book table (its name, no chapter), and a book given twice keeps
    // its first file (the other is listed in the report). Otherwise both
    // are errors (std::runtime_error).
    bool partial = false;
    // Told the French name of each book (UTF-8) before it is read.
    std::function<void(const std::string&)> reading;
    // Asked between books; true cancels (ImportCancelled).
    std::function<bool()> cancelled;
};

// Reads the book files of a source into a complete Bible: the 66 book
// records, their names and abbreviations from the French canon (the
// source's own short titles are listed in the report where they differ),
// the cross-references resolved and checked against the verses. Files are
// UTF-8 with or without a byte-order mark (Windows-1252 when one says so or
// is not valid UTF-8); empty files and files of no book of the 66 (front
// matter, glossaries) are skipped and listed. Throws ImportError when no
// file holds a book of the 66.
BibleData ImportUsfmFiles(std::vector<SourceFile> files, const std::string& source,
                          const UsfmImportOptions& options, Report& report);

// The books of a source, parsed (one or more per file, in the source's
// order), made into a complete Bible as ImportUsfmFiles does: books outside
// the 66 and books given twice are skipped and listed (kGivenTwice names
// them for the reader); its text is kept as written, in UTF-8. Throws
// ImportError(noBook)
// when no book of the 66 is there.
BibleData AssembleBible(std::vector<UsfmBook> parsed, const std::string& source,
                        const UsfmImportOptions& options, TextConverter& text, Report& report,
                        const std::string& noBook);

// The report's kind for a book given twice, each example a sentence for the
// reader (UTF-8).
inline constexpr const char* kGivenTwice = "books given twice (for the reader)";

// The report's kinds for the verses left out for their number, whatever
// the form; each example "PSA 3:0 (file:line)", the book's code, its
// chapter and the number as the file gives it.
inline constexpr const char* kVerseZero = "verses numbered 0, dropped";
inline constexpr const char* kVerseNegative = "verses with a number below 0, dropped";
inline constexpr const char* kVerseUnnumbered = "verses without a number, dropped";

// The books missing from a Bible that ImportUsfmFiles made (partial): the
// numbers of the books without a chapter.
std::vector<int> MissingBooks(const BibleData& bible);

// Reads a folder of *.usfm and *.sfm files, one of its files, or an archive
// of them (UsfmSource.h) into a complete Bible, every book required.
// Throws std::runtime_error when the source cannot be read or a book is
// missing or given twice.
BibleData ImportUsfm(const std::filesystem::path& source, Report& report);

// The books ImportUsfm reads, for a caller that reads more of them than the
// Bible (its name); the same errors for a missing source or one without
// books. ImportUsfm(source) is ImportUsfmFiles(ReadUsfmBooks(source), ...).
std::vector<SourceFile> ReadUsfmBooks(const std::filesystem::path& source);

// Turns the notes of the books into cross-reference records: each target of
// each note parsed, then kept only when its verses exist. Counts go to the
// report.
std::vector<dw::CrossRefRecord> ResolveCrossRefs(const std::vector<UsfmBook>& books,
                                                 const VerseIndex& verses, Report& report);

}  // namespace lorvane::importer
