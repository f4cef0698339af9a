#pragma once

// Strong's dictionaries, Greek and Hebrew: for a number, its headword, its
// transliteration, its pronunciation and its definition (in English). They
// are plain UTF-8 files beside the program, written when the program is
// built and read the first time the word pane opens. Widget-free.
//
// The file, one entry a line:
//
//     lorvane-strongs 1
//     # comment lines (the source and its licence)
//     G3056<TAB>λόγος<TAB>lógos<TAB>log'-os<TAB>from G3004; something said...
//
// The first line names the format. Then, in any order, lines of five fields
// separated by tabs: the number in the one form of NormaliseStrong ("G3056",
// "H0430", "H1254a"), the word in Greek or Hebrew letters, its
// transliteration, its pronunciation, its definition. A field holds no tab
// and no line break; the numbers a definition refers to are written in the
// same one form. Empty lines and lines opening with '#' are skipped; a line
// that does not read (another count of fields, a number that is not one) is
// skipped and counted; of two lines with one number, the first is kept.
// Bytes that are not UTF-8 are given as U+FFFD.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lorvane::words {

inline constexpr std::string_view kStrongsFileFormat = "lorvane-strongs 1";

// The files beside the program, in its folder's dictionnaires/.
inline constexpr std::string_view kStrongsFolder = "dictionnaires";
inline constexpr std::string_view kStrongsGreekFile = "strongs-grec.txt";
inline constexpr std::string_view kStrongsHebrewFile = "strongs-hebreu.txt";

// The label of the definition in the word pane: the text is English.
inline constexpr std::string_view kDefinitionLabel = "Définition (en anglais)";

// The longest field a lookup gives whole: a longer one is cut at a letter
// and ends with "…". The headword, the transliteration and the
// pronunciation are short; the longest real definition is under 3 kB.
inline constexpr std::size_t kMaxShortField = 256;
inline constexpr std::size_t kMaxDefinition = 16 * 1024;

// The largest dictionary file read (the two real ones are under 3 MB).
inline constexpr std::size_t kMaxStrongsFile = 32 * 1024 * 1024;

struct StrongsEntry {
    std::string number;  // "G3056": the number the entry is kept under
    std::string word;    // λόγος
    std::string transliteration;
    std::string pronunciation;
    std::string definition;  // English

    bool operator==(const StrongsEntry&) const = default;
};

class StrongsDictionary {
  public:
    StrongsDictionary() = default;
    StrongsDictionary(const StrongsDictionary&) = delete;
    StrongsDictionary& operator=(const StrongsDictionary&) = delete;
    StrongsDictionary(StrongsDictionary&&) = default;
    StrongsDictionary& operator=(StrongsDictionary&&) = default;

    // The dictionary of a file's bytes (see above). A file of another kind
    // gives an empty dictionary.
    static StrongsDictionary Parse(std::string bytes);

    bool Empty() const { return slots_.empty(); }
    std::size_t Size() const { return slots_.size(); }
    std::size_t SkippedLines() const { return skipped_; }

    // The entry of a number as the texts and the readers write it: "G3056",
    // "g3056", "G03056", "strong:H430", "H1254 a". A number with a sense
    // letter that the dictionary does not hold gives the number's own entry
    // ("H1254a" → "H1254"). Empty for a number without its language letter,
    // or one the dictionary lacks.
    std::optional<StrongsEntry> Lookup(std::string_view strong) const;

  private:
    struct Slot {
        std::uint32_t key = 0;    // language, number, sense letter (KeyOf)
        std::uint32_t line = 0;   // where its line begins in bytes_
        std::uint32_t ends[5]{};  // where each field ends, from the line's start
    };
    static std::uint32_t KeyOf(std::string_view number);

    std::unique_ptr<std::string> bytes_;
    std::vector<Slot> slots_;  // in key order
    std::size_t skipped_ = 0;
};

// The file of entries, as Parse reads it: the format line, the comment
// lines given (each one line, written after "# "), then one line per entry
// whose number reads, in the order given. Tabs and line breaks inside a
// field become spaces.
std::string FormatStrongsFile(const std::vector<StrongsEntry>& entries,
                              const std::vector<std::string>& comments);

// Both dictionaries of the program, read from its folder. A file that is
// missing or does not read leaves its dictionary empty, with the reason in
// French for the reader.
struct StrongsDictionaries {
    StrongsDictionary greek, hebrew;
    std::string greekProblem, hebrewProblem;  // empty when the file was read

    // The entry of a Greek or Hebrew number, from the dictionary of its
    // language (see StrongsDictionary::Lookup).
    std::optional<StrongsEntry> Lookup(std::string_view strong) const;
};

StrongsDictionaries LoadStrongsDictionaries(const std::string& programFolder);

}  // namespace lorvane::words
