#pragma once

// The writing pad's rules that need no window: how much text it takes, the
// message when a text is beyond that, the name a plain-text file is saved
// under, and the name of the file that keeps unsaved notes when the
// program is ended.

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>

#include "Rtf.h"

namespace lorvane::rtf {

// Beyond these the pad's text layout holds the window for more than about a
// second (bench_pad_open measures it): a file or a pasted text that would
// make the pad's text larger is refused before any long work.
inline constexpr std::size_t kPadMaxFileBytes = 32u * 1000 * 1000;
inline constexpr std::size_t kPadMaxTextBytes = 1000u * 1000;
inline constexpr std::size_t kPadMaxParagraphs = 50000;

// The size of a text: its bytes and its paragraphs.
struct Extent {
    std::size_t bytes = 0;
    std::size_t paragraphs = 0;
};

// A quick count of the paragraphs of a file's bytes, without reading them
// as a document: the \par of RTF, the lines of plain text.
std::size_t CountParagraphs(std::string_view bytes);

// The text of a document: its UTF-8 bytes and its paragraphs.
Extent TextExtent(const Document& doc);

// Whether the pad takes a text of that size.
bool PadTakes(const Extent& text);

// "Ce fichier est trop volumineux pour le bloc-notes (16,2 Mo, 500 000
// paragraphes ; au plus 1 Mo de texte ou 50 000 paragraphes)." for a file,
// "Ce texte ..." for a pasted or dropped text.
std::string TooLargeMessage(bool file, const Extent& size);

// The name a file read as plain text is saved under: its extension
// replaced by .rtf ("notes.txt" -> "notes.rtf", "notes" -> "notes.rtf").
std::string RtfNameFor(const std::string& path);

// "Notes non enregistrées 2026-12-08 14-05.rtf" for that local time.
std::string RescueFileName(const std::tm& local);

}  // namespace lorvane::rtf
