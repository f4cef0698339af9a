#pragma once

// The text of a data folder as the program keeps it: UTF-8. A folder whose
// mark file (data/texte.txt) says "UTF-8" holds UTF-8, checked at load; any
// other folder (the shipped data set, Bibles imported before) holds
// Windows-1252, converted once at load.

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvane::storedtext {

// The mark file of a data folder, relative to the Bible's folder, and what
// it holds in a UTF-8 folder.
inline constexpr std::string_view kMarkFile = "data/texte.txt";
inline constexpr std::string_view kUtf8Mark = "UTF-8";

// Whether a mark file's content names UTF-8 (any case, blanks and a BOM
// around it).
bool SaysUtf8(std::string_view mark);

// Appends the UTF-8 form of stored text: Windows-1252 bytes, or UTF-8 whose
// malformed sequences (stray bytes, overlong forms, surrogates, values past
// U+10FFFF) each become U+FFFD. Returns the number of sequences replaced.
std::size_t AppendUtf8(std::string& out, std::string_view stored, bool utf8);

// The same for the text of a fixed-width field: a UTF-8 sequence cut by the
// field's end is left out rather than replaced.
std::string FieldToUtf8(std::string_view stored, bool utf8, std::size_t* replaced = nullptr);

// The longest start of UTF-8 text that holds at most `width` bytes and ends
// on a character boundary.
std::string_view CutAtCharacter(std::string_view utf8, std::size_t width);

// How many bytes of the text lie past ASCII (0x80 and above).
std::size_t HighBytes(std::string_view bytes);

// The first `count` characters (code points) of UTF-8 text, or all of it.
std::string_view FirstCharacters(std::string_view utf8, std::size_t count);

}  // namespace lorvane::storedtext
