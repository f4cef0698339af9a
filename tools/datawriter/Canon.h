#pragma once

// The 66 books in canonical order, with their USFM codes, the French names
// readers know and the abbreviations of the French reference notes.

#include <array>
#include <string_view>

namespace lorvane::datawriter {

struct CanonBook {
    std::string_view code;          // USFM book code, "GEN"
    std::string_view name;          // French name, UTF-8, "Genèse"
    std::string_view abbreviation;  // French abbreviation, UTF-8, "Ge"
    int chapters;
};

extern const std::array<CanonBook, 66> kCanon;

// Book number 1-66 of a USFM code, or 0.
int BookNumberOfCode(std::string_view code);

}  // namespace lorvane::datawriter
