#pragma once

// Where the text of the core meets Qt's strings. The core keeps its text in
// UTF-8; Windows-1252 remains the form of the study pages and of the
// addresses their links carry.

#include <QString>
#include <string>
#include <string_view>

namespace lorvane {

QString FromUtf8(std::string_view utf8);
std::string ToUtf8(const QString& text);

QString FromCp1252(std::string_view bytes);
// Characters without a Windows-1252 form become '?', or `replacement`.
std::string ToCp1252(const QString& text);
std::string ToCp1252(const QString& text, char replacement);

// The text cut at a word before `size` characters (or at `size` when its
// first words are longer), with "…"; whole when it is that short.
QString ShortenAtWord(const QString& text, qsizetype size);

}  // namespace lorvane
