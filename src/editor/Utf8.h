#pragma once

// UTF-8 helpers of the RTF codec.

#include <cstddef>
#include <string>
#include <string_view>

namespace lorvane::rtf::utf8 {

inline constexpr char32_t kReplacement = 0xFFFD;

// Appends the UTF-8 form of a code point; surrogates and values past
// U+10FFFF become U+FFFD.
void Append(std::string& out, char32_t cp);

// The code point at s[i], advancing i past it; a malformed sequence gives
// U+FFFD and advances by one byte.
char32_t Next(std::string_view s, std::size_t& i);

bool IsValid(std::string_view s);

}  // namespace lorvane::rtf::utf8
