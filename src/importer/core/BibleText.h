#pragma once

// Text of the sources (UTF-8) as the data files keep it: verse text and
// headings through TextConverter, in UTF-8 as written; study pages through
// PageToCp1252 into Windows-1252, which refuses characters it lacks.

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

// Single spaces between words and none at either end; the no-break space
// (U+00A0) is kept inside the text and trimmed at its ends. UTF-8.
std::string NormalizeSpaces(std::string_view utf8);

// Cuts a UTF-8 title longer than `width` bytes at its last word boundary
// that leaves room for the ellipsis (…), drops the spaces and separators
// left before the cut, and ends it with the ellipsis; a single long word is
// cut between two characters. True when the title was cut.
bool CutTitle(std::string& title, std::size_t width = 151);

// Combining marks kept on one letter at most: the bound of Unicode's
// stream-safe text format.
inline constexpr int kMaxMarksInARow = 30;

class TextConverter {
  public:
    // Source text (UTF-8) as the data files keep it: UTF-8 in Unicode's
    // composed form (NFC), every letter as written, with normalised spaces.
    // The typographic apostrophes become the keyboard apostrophe; control
    // characters and noncharacters are left out, and so are the combining
    // marks past kMaxMarksInARow on one letter. `place` ("GEN 1:1") is kept
    // with the first of each remark.
    std::string Convert(std::string_view utf8, const std::string& place);

    int Apostrophes() const { return apostrophes_; }
    int Noncharacters() const { return noncharacters_.count; }
    int ExcessMarks() const { return excessMarks_.count; }
    int BidiControls() const { return bidiControls_.count; }

    // Adds the counts and the remarks to the report.
    void ReportTo(Report& report) const;

  private:
    struct Remark {
        int count = 0;
        std::string firstPlace;
        void Note(const std::string& place) {
            if (count++ == 0) firstPlace = place;
        }
    };
    Remark noncharacters_, excessMarks_, bidiControls_, controls_;
    int apostrophes_ = 0;
};

// The report's kinds for the encodings of the source files and for the
// letters written as their nearest form; the examples name the file (and the
// line for a stray byte, "GEN.usfm, ligne 12"), or the letter ("ē -> e").
inline constexpr const char* kStatedCp1252 = "files read as Windows-1252, as they say";
inline constexpr const char* kAssumedCp1252 =
    "files not in UTF-8 that do not say their encoding, read as Windows-1252";
inline constexpr const char* kStrayBytes =
    "bytes that are not UTF-8 in UTF-8 files, read as Windows-1252";
// Bytes that are not UTF-8 in a file that says it is UTF-8 (its
// declaration, its \ide line, its byte-order mark), replaced by U+FFFD;
// each example "bible.xml, ligne 12".
inline constexpr const char* kInvalidUtf8 =
    "bytes that are not UTF-8 in files that say they are, replaced";
// Files whose stated encoding is not theirs, read as what they are; each
// example a sentence for the reader (UTF-8).
inline constexpr const char* kSaidWrongly = "files whose stated encoding is wrong (for the reader)";
// What the text converter left out or kept with care; each example the
// place of the first ("GEN 1:1").
inline constexpr const char* kNoncharacters = "noncharacters, left out";
inline constexpr const char* kExcessMarks = "combining marks past 30 on one letter, left out";
inline constexpr const char* kBidiControls =
    "bidirectional controls, kept and closed at the end of their verse";

// How a source file says its encoding (\ide line, XML declaration).
enum class StatedEncoding { None, Utf8, Cp1252 };

// The text of a source file as UTF-8. A UTF-16 byte-order mark decides;
// else what the file says of itself (its UTF-8 mark, its declaration) is
// followed: a file said to be UTF-8 keeps its UTF-8, each byte that is not
// replaced by U+FFFD and counted with its line (kInvalidUtf8); one said to
// be Latin-1 is read as Windows-1252. Only bytes that cannot be what the
// file says overrule it (kSaidWrongly): a file said to be Latin-1 that is
// UTF-8 with accents throughout, one said to be UTF-8 without a single
// letter of it. A file that says nothing and is not UTF-8 is read as
// Windows-1252 (kAssumedCp1252), and a UTF-8 file with a few stray bytes
// keeps its UTF-8, each stray byte read as Windows-1252 (kStrayBytes).
// Latin-1 files are read as Windows-1252, which differs only in the
// control characters 0x80-0x9F.
std::string SourceToUtf8(std::string_view bytes, StatedEncoding stated, const std::string& file,
                         Report& report);

// A study page from UTF-8 to Windows-1252. Throws std::runtime_error naming
// `name`, the line and the column of the first character without a
// Windows-1252 form or malformed UTF-8 sequence. A leading byte-order mark
// is dropped.
std::string PageToCp1252(std::string_view utf8, const std::string& name);

}  // namespace lorvane::importer
