#pragma once

// The writing pad's rules that need no window: how much text it takes, the
// message when a text is beyond that, how a plain-text file is written back
// as it came (its encoding and line ends) and whether a text holds
// formatting such a file would lose, the name a plain-text file is saved
// under as RTF, and the name of the file that keeps unsaved notes when the
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

// How a plain-text file is written, as Read() decides it: UTF-16 with its
// byte-order mark, UTF-8 (with or without one) when the bytes are valid
// UTF-8, Windows-1252 otherwise.
enum class TextEncoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1252 };
enum class LineEnd { Lf, CrLf, Cr };

struct TextFormat {
    TextEncoding encoding = TextEncoding::Utf8;
    // The first line end of the file; Lf for a file of one line.
    LineEnd lineEnd = LineEnd::Lf;
    // Whether the last line has its line end too.
    bool finalLineEnd = false;
    bool operator==(const TextFormat&) const = default;
};

// The format of a plain-text file's bytes.
TextFormat DetectTextFormat(std::string_view bytes);

// Whether a document holds anything a plain-text file loses: a run or a
// paragraph formatted otherwise than Read() gives plain text. The format of
// empty paragraph marks shows nothing and does not count.
bool HasFormatting(const Document& doc);

// The format a document is saved in as text when it was opened in
// `opened`: the same, but UTF-8 with its byte-order mark in place of
// Windows-1252 when a character has no Windows-1252 form (rather than
// losing it).
TextFormat TextSaveFormat(const Document& doc, const TextFormat& opened);

// The bytes of a document's text as a plain-text file: one line per
// paragraph and per line break, in the encoding and with the line ends of
// the format. A character the encoding has not becomes '?'. The bytes of a
// file opened with Read() come back unchanged when its text has no control
// characters but tabs and line ends and one kind of line end.
std::string WriteText(const Document& doc, const TextFormat& format);

// Whether a file's name says plain text: it ends in .txt, in any case.
bool IsTextFileName(const std::string& path);

// The name a file read as plain text is saved under as RTF: its extension
// replaced by .rtf ("notes.txt" -> "notes.rtf", "notes" -> "notes.rtf").
std::string RtfNameFor(const std::string& path);

// "Notes non enregistrées 2026-12-08 14-05.rtf" for that local time.
std::string RescueFileName(const std::tm& local);

}  // namespace lorvane::rtf
