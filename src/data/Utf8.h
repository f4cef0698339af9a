#pragma once

// UTF-8, the encoding of the sources the data is built from, of the notes'
// text and of file names. One decoder for the whole program.

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvane::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Appends the UTF-8 form of a code point; surrogates and values past
// U+10FFFF become U+FFFD.
void Append(std::string& out, char32_t cp);

// The length (1 to 4) of the well-formed sequence at s[i], or 0 when the
// bytes there are malformed: a stray or missing continuation byte, an
// overlong form, a surrogate, a value past U+10FFFF. i < s.size().
std::size_t SequenceLength(std::string_view s, std::size_t i);

// The code point at s[i], advancing i past it; a malformed sequence gives
// U+FFFD and advances by one byte.
char32_t Next(std::string_view s, std::size_t& i);

bool IsValid(std::string_view s);

// What bytes are, to tell UTF-8 from a single-byte encoding: the well-formed
// sequences of two bytes or more, and the bytes that are not UTF-8.
// Windows-1252 text hardly ever makes a valid sequence of two bytes or more.
struct Census {
    std::size_t multibyte = 0;
    std::size_t stray = 0;
};
Census Count(std::string_view s);

// Whether bytes open with a UTF-16 byte-order mark (either endianness).
bool HasUtf16Mark(std::string_view bytes);

// The UTF-8 of a text that opens with a UTF-16 byte-order mark, the mark
// left out; a lone surrogate becomes U+FFFD, an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes);

}  // namespace lorvane::utf8
