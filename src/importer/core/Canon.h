#pragma once

// The 66 books in canonical order, with their USFM codes, the French names
// readers know, the abbreviations of the French reference notes (those of the
// Louis Segond 1910 text) and their OSIS names.

#include <array>
#include <string>
#include <string_view>

namespace lorvane::datawriter {

struct CanonBook {
    std::string_view code;          // USFM book code, "GEN"
    std::string_view name;          // French name, UTF-8, "Genèse"
    std::string_view abbreviation;  // French abbreviation, UTF-8, "Ge"
    std::string_view osis;          // OSIS book name, "Gen"
    int chapters;
};

extern const std::array<CanonBook, 66> kCanon;

// Book number 1-66 of a USFM code, or 0.
int BookNumberOfCode(std::string_view code);
// Book number 1-66 of an OSIS book name, or 0.
int BookNumberOfOsis(std::string_view osis);

// The French name of a book that some Bibles hold beyond the 66, by its
// USFM code or OSIS name ("TOB", "Tob" → "Tobie"); "" for another.
std::string_view OutsideBookName(std::string_view id);

// The French name the reader knows a book by, the one of the book list:
// one of the 66 by its USFM code or OSIS name, a book beyond them by its
// own; "" for another. Every text the reader is told names books so.
std::string_view FrenchBookName(std::string_view id);

// A place as the reader reads it: "PSA 119:11" → "Psaumes 119:11", "PSA 3"
// → "Psaumes 3"; a place whose book has no French name is kept as it is.
std::string FrenchPlace(std::string_view place);

}  // namespace lorvane::datawriter
