#pragma once

// The Greek New Testament of the Byzantine textform (Robinson-Pierpont), as
// its CSV files give it: a folder with accented/BOOK.csv (chapter, verse
// and the text with accents, breathings and punctuation, ¶ at a paragraph)
// and strongs-parsing/BOOK.csv (the same words, lower case and unaccented,
// each followed by its Strong's numbers and its Robinson parsing code in
// braces). The two are aligned word by word, once punctuation is set aside
// and both are folded to lower case without accents, and every word that
// aligns carries its numbers and its code in the Bible's words.
//
// Two passages printed apart are put in their places: the pericope of the
// adulteress (accented/PA.csv) fills Jean 7:53–8:11 where JOH.csv lacks
// those verses, and Actes 24:6b–8a (accented/ACT24.csv) completes 24:6,
// gives 24:7 and opens 24:8. Their words are aligned with the parsing of
// their verse where it has them.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "BibleData.h"
#include "Report.h"

namespace lorvane::importer {

// One record of a CSV file, its fields unquoted, and the line it starts on.
struct CsvRecord {
    std::vector<std::string> fields;
    long line = 0;
};

// The records of a CSV text (RFC 4180): fields separated by commas, a
// field in double quotes may hold commas, line breaks and doubled quotes
// (""), records end with LF or CRLF. A leading byte-order mark is skipped
// and blank lines give no record. A quote left open at the end of the text
// throws ImportError naming `file` and the line where its field began.
std::vector<CsvRecord> ReadCsv(std::string_view text, const std::string& file);

// A word of the parsed text with its tag: "λογος", "G3056",
// "robinson:N-NSM". A word given two parsings ("ω 3739 {R-DSM} 3739
// {R-DSN}") keeps the numbers of both and the first code.
struct ParsedWord {
    std::string word;
    std::string strongs;  // "G2532 G5037"; "" when no number is valid
    std::string morph;    // "robinson:V-AAI-3S"; "" when none is given
    int parsings = 0;     // the codes given
};

// The words of one verse of strongs-parsing/BOOK.csv: "εν 1722 {PREP}
// αρχη 746 {N-DSF} ...". Numbers and codes before the first word are
// passed over.
std::vector<ParsedWord> ReadParsedWords(std::string_view text);

// A Greek word folded for the alignment (UTF-8): its letters alone, lower
// case, without accents, breathings or iota subscripts, a final sigma as σ.
// "Ἐν" → "εν", "λόγος," → "λογοσ", "παρ’" → "παρ".
std::string FoldGreek(std::string_view word);

// For each word of `words`, the index of the entry of `entries` it aligns
// with, -1 for none: the longest sequence of equal words common to both,
// in order (every word when the two agree). Both are folded already.
std::vector<int> AlignFolded(const std::vector<std::string>& words,
                             const std::vector<std::string>& entries);

// The words of one book and what became of them.
struct GreekWordCount {
    std::string code;     // "JOH"; "" for the whole
    int words = 0;        // words of the accented text
    int tagged = 0;       // aligned with an entry of the parsed text, tagged
    int notAligned = 0;   // aligned with no entry of its verse's parsed text
    int apart = 0;        // of the passages printed apart, without a parsing
    int entriesLeft = 0;  // entries of the parsed text that no word took
};

struct ByzantineText {
    BibleData bible;                    // the 27 books in the 66 places, with their words
    std::vector<GreekWordCount> books;  // the books read, in canon order
    GreekWordCount all;                 // their sum
    std::vector<std::string> missing;   // the codes of the books not found
};

// The report's kinds for the alignment: each example a book's counts,
// "JOH: 3, first at JOH 7:53 « ἀπῆλθεν »".
inline constexpr const char* kGreekNotAligned = "Greek words not aligned with their parsing";
inline constexpr const char* kGreekEntriesLeft = "parsed words that no Greek word took";

// Reads the folder (its accented/ and strongs-parsing/). Books missing from
// it are listed in `missing` and in the report; when none of the 27 is
// there, throws ImportError. A damaged file (a quote left open) throws
// ImportError naming it, and so does a file that cannot be read; a row that
// is no verse is left out and reported.
ByzantineText ReadByzantineText(const std::filesystem::path& folder, Report& report);

// The files of such a folder by their path in it ("accented/JOH.csv",
// "strongs-parsing/JOH.csv", "accented/PA.csv"), as bytes.
using ByzantineFiles = std::map<std::string, std::string>;

// ReadByzantineText's work on files already read; `folder` names the
// source in the report and in the messages.
ByzantineText ReadByzantineFiles(const ByzantineFiles& files, const std::string& folder,
                                 Report& report);

}  // namespace lorvane::importer
