#pragma once

// Windows-1252, the character set of the data files without a UTF-8 mark
// (converted at load, see StoredText.h), of the study pages, of the links
// the pages carry and of the French references typed in "Aller à". The
// core's own text is UTF-8.

#include <cstdint>
#include <string>
#include <string_view>

namespace lorvane::cp1252 {

// The Unicode code point of a byte. The five bytes that Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same
// value, as Windows itself does.
char32_t ToUnicode(std::uint8_t byte);

// The byte of a code point, or -1 when Windows-1252 has no such character.
int FromUnicode(char32_t cp);

// Upper-case mapping of the Windows-1252 letters: a-z, the accented letters
// of the 0xE0-0xFE block (not 0xF7, the division sign), and the three letters
// of the 0x9A-0x9F block (š, œ, ž, ÿ). ß and µ have no single-byte capital and
// stay as they are.
std::uint8_t ToUpper(std::uint8_t byte);
std::string ToUpper(std::string_view text);

// Conversions between Windows-1252 bytes and UTF-8. ToUtf8 never fails.
// FromUtf8 writes `replacement` for each character that has no Windows-1252
// form, and for each malformed UTF-8 sequence; `unmapped` (when given) counts
// them.
std::string ToUtf8(std::string_view bytes);
std::string FromUtf8(std::string_view utf8, char replacement = '?', int* unmapped = nullptr);

}  // namespace lorvane::cp1252
