#pragma once

// What the pages need to know of a text in any script: its capitals, its
// direction, and its bidirectional controls kept inside it.

#include <string>
#include <string_view>

namespace lorvane {

// Text as HTML text: & < > " and ' written as entities.
std::string HtmlEscaped(std::string_view utf8);

// The text in capitals, by Unicode's mapping (é -> É, σ -> Σ).
std::string UpperCase(std::string_view utf8);

// Whether the first letter of strong direction is right to left (Hebrew,
// Arabic, ...); false for a text without one.
bool RightToLeft(std::string_view utf8);

// Appends the text with its bidirectional controls (U+202A-U+202E, U+2066-
// U+2069) kept to it: a closing control without an opening one is left out,
// and those still open at the end are closed, so that nothing the text
// opens reaches the text after it. Malformed UTF-8 is copied as it is.
void AppendBidiClosed(std::string& out, std::string_view utf8);
std::string BidiClosed(std::string_view utf8);

}  // namespace lorvane
