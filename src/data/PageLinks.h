#pragma once

// The links the program's pages carry, decoded for every room that follows
// them: the reading pane's cross-references and the verse links of the
// study pages. Windows-1252 bytes in, numbers out; no widget.

#include <cstdint>
#include <optional>
#include <string_view>

#include "Communs.h"

namespace lorvane {

// A decimal integer: an optional sign and digits, nothing else, within
// 32 bits.
std::optional<std::int32_t> ParseDecimal(std::string_view text);

// Decodes the four numbers after the first "¤" of a URL (at most 20
// characters of it); nullopt when a field is empty or not a decimal integer.
std::optional<VerseRef> DecodeCrossRefLink(std::string_view url);

// The study pages' links. The last component of a URL: the text after its
// last '/', '\\' or ':'.
std::string_view LastUrlComponent(std::string_view url);

// A verse link of a theme or glossary page, "43:3:16" or "43:3:16-18" (each
// '-' counts as ':'): book, chapter, first verse and, when given, the last
// verse (never below the first). nullopt when a field is not a decimal
// integer, or a number lies outside book 1-66, chapter 1-150, verse 1-176.
std::optional<VerseRef> DecodeVerseLink(std::string_view url);

}  // namespace lorvane
