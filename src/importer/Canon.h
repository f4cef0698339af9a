#pragma once

// The 66 books in canonical order, with their USFM codes, the French names
// readers know, the abbreviations of the French reference notes (those of the
// Louis Segond 1910 text) and their OSIS names.

#include <array>
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

}  // namespace lorvane::datawriter
