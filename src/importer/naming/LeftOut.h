#pragma once

// What an import left out, told to the reader in French (UTF-8): the books
// of the 66 the source lacks, the books beyond the 66 it passed over, and
// the books that came with only some of their chapters.

#include <string>
#include <vector>

#include "BibleData.h"
#include "Report.h"

namespace lorvane::importer {

// "l'Ancien Testament (39 livres), Matthieu, Marc" for the numbers of
// the missing books (1-66, in order): a whole Testament is named as one.
std::string MissingBooksText(const std::vector<int>& missing);

// « 3 livres hors des 66 ignorés : Tobie, Judith, 1 Maccabées. » from the
// report's "books outside the 66, skipped" (USFM codes or OSIS names as the
// first word of each example); front matter, glossaries and other parts
// that are no book are not counted. "" when there are none.
std::string OutsideBooksText(const Report& report);

struct ShortBook {
    int book = 0;      // 1-66
    int chapters = 0;  // the chapters that hold a verse
    int expected = 0;  // the usual count, or the highest chapter when higher
};

// The books that came with chapters missing: fewer than the usual count by
// more than one (versifications differ by one at the end of a book, as
// Malachie with 3 or 4), or a gap before the last chapter.
std::vector<ShortBook> ShortBooks(const BibleData& bible);

// « Genèse : 3 chapitres sur 50. » one sentence per book, joined by "\n".
std::string ShortBooksText(const std::vector<ShortBook>& books);

}  // namespace lorvane::importer
