#pragma once

// Text of the sources (UTF-8) turned into the Windows-1252 bytes of the data
// files: verse text and headings through TextConverter, which maps every
// character without a Windows-1252 form to its nearest form and counts it;
// study pages through PageToCp1252, which refuses such characters.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "Report.h"

namespace lorvane::importer {

// The code point of the UTF-8 sequence at pos, which moves past it. A
// malformed sequence gives U+FFFD and moves one byte.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);
// "U+2019"
std::string CodePointName(char32_t cp);

// The bytes that stand for a code point that Windows-1252 lacks: its nearest
// form ("a" for U+0101, a space for U+2009, nothing for U+200B), or "?" when
// there is none.
std::string NearestCp1252(char32_t cp);

// Single spaces between words and none at either end; the no-break space
// (0xA0) is kept inside the text and trimmed at its ends.
std::string NormalizeSpaces(std::string_view cp1252);

// Cuts a Windows-1252 title longer than `width` bytes at its last word
// boundary that leaves room for the ellipsis (byte 0x85), drops the spaces
// and separators left before the cut, and ends it with the ellipsis. True
// when the title was cut.
bool CutTitle(std::string& title, std::size_t width = 151);

class TextConverter {
  public:
    // UTF-8 text to Windows-1252 with normalised spaces. The typographic
    // apostrophes become the keyboard apostrophe; `place` ("GEN 1:1") is
    // kept with the first occurrence of each mapped character.
    std::string Convert(std::string_view utf8, const std::string& place);

    int Apostrophes() const { return apostrophes_; }
    // Characters mapped to a nearest form (apostrophes not included).
    int Mapped() const;

    // Adds the counts and one line per mapped character to the report.
    void ReportTo(Report& report) const;

  private:
    struct Mapping {
        std::string replacement;
        int count = 0;
        std::string firstPlace;
    };
    std::map<char32_t, Mapping> mapped_;
    int apostrophes_ = 0;
};

// A study page from UTF-8 to Windows-1252. Throws std::runtime_error naming
// `name`, the line and the column of the first character without a
// Windows-1252 form or malformed UTF-8 sequence. A leading byte-order mark
// is dropped.
std::string PageToCp1252(std::string_view utf8, const std::string& name);

}  // namespace lorvane::importer
