#pragma once

// The reference lists of the French cross-reference notes, as the Louis
// Segond 1910 text writes them:
//   "Job 38:4. Ps 33:6; 89:12; 136:5. Ac 14:15, 17; 17:24-28. Jud v. 11."
// A book abbreviation opens a book's list and "." closes it; ";" separates
// chapters of one book, "," verses of one chapter, "-" makes a range; a
// chapter without verses is the whole chapter; "v. N" is a verse of the
// chapter the note stands in (or of a one-chapter book); "etc." adds nothing.

#include <string>
#include <string_view>
#include <vector>

namespace lorvane::importer {

struct RefTarget {
    int book = 0, chapter = 0;
    int first = 0;  // 0: the whole chapter
    int last = 0;   // 0: the first verse alone
};

struct RefList {
    std::vector<RefTarget> targets;
    // The pieces that could not be read, each up to the "." that ends it;
    // one piece stands for one target that is not in `targets`.
    std::vector<std::string> unread;
};

// Parses a UTF-8 reference list found in the note of a verse of
// sourceBook:sourceChapter. Book abbreviations are those of the French
// canon (Canon.h); numbers are not checked against any text.
RefList ParseFrenchRefs(std::string_view utf8, int sourceBook, int sourceChapter);

}  // namespace lorvane::importer
