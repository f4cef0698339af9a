#pragma once

// The names a Bible's data/ gives itself, and how a name is cleaned before
// it is shown or kept. The import writes them, the shelf reads them back
// and the reader may change them; each file holds one line of UTF-8.

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvane {

// The file of data/ that holds the Bible's own name, one line, UTF-8.
inline constexpr const char* kNameFile = "nom.txt";

// The file of data/ that holds the Bible's short name ("LSG"), one line,
// UTF-8; the references of copied verses name the Bible by it.
inline constexpr const char* kAbbreviationFile = "sigle.txt";

// The file of data/ that names how the Bible numbers its verses ("KJV",
// "Segond", "Leningrad"), one line; without it the numbering is recognised
// from the chapters.
inline constexpr const char* kNumberingFile = "numerotation.txt";

inline constexpr std::size_t kNameLength = 300;        // characters
inline constexpr std::size_t kAbbreviationLength = 8;  // characters

// The abbreviation of a Bible that nothing names.
inline constexpr const char* kDefaultAbbreviation = "Bible";

// A name as shown: UTF-8 (bytes that are not read as Windows-1252),
// without control or invisible formatting characters, blanks collapsed to
// one space and trimmed, cut to `length` characters. The names the reader
// types (a Bible renamed, its abbreviation) are kept the same way.
std::string CleanBibleName(std::string_view text, std::size_t length = kNameLength);

// The first line of `file` (kNameFile, kAbbreviationFile) in the data/ of
// bibleDir, cleaned and cut at `max` characters; "" when it is missing.
std::string ReadNameFile(const std::string& bibleDir, const char* file, std::size_t max);

}  // namespace lorvane
