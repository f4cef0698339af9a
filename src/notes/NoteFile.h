#pragma once

// A reader's notes and highlights, and the plain UTF-8 file that keeps them,
// one record a line, fields separated by tabs (two spaces below), readable
// by hand. The first line is a comment in French (a line starting with '#')
// telling the fields; then, for instance:
//
//   N  3f9a0c1d2e4b5a69  45 8 28-30  2026-12-09T04:22:56Z  2026-12-09T04:30:00Z  Tout\nau bien
//   H  19 51 9  jaune  2026-12-09T04:31:10Z
//   X  77aa00bb11cc22dd  2026-12-09T04:40:00Z
//
// N is a note: its identity, its verses as the Louis Segond numbers them
// (one verse, or a range within one chapter), its creation and last change
// (ISO 8601, UTC, to the second), its text with \\, \n, \t and \r escaped.
// H is a highlight of one verse: its colour, « aucune » once cleared, and
// when it was set. X is a note removed, kept for a while so that another
// window's copy of the file does not bring it back. A line that cannot be
// read is left out and counted.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Numbering.h"

namespace lorvane {

// The colours a verse is highlighted in; None is no highlight.
enum class Colour { None, Jaune, Vert, Bleu, Rose, Orange };
inline constexpr int kColourCount = 5;

// The colour's French name (« jaune », « vert »...; « aucune » for None).
std::string_view ColourName(Colour colour);
// The colour as 0xRRGGBB, light enough to read black text on; 0xFFFFFF
// for None.
std::uint32_t ColourRgb(Colour colour);
// The colour of a French name; nullopt for a name that is none.
std::optional<Colour> ColourOfName(std::string_view name);

struct Note {
    std::string id;        // stable identity, 16 hex digits
    VersePlace first = 0;  // Segond verse
    VersePlace last = 0;   // last verse of a range in first's chapter, 0 for one verse
    std::string text;      // UTF-8, line breaks kept
    std::string created;   // "2026-12-09T04:22:56Z"
    std::string modified;
    // The last verse the note covers.
    VersePlace End() const { return last ? last : first; }
    bool Covers(VersePlace verse) const { return verse >= first && verse <= End(); }
};

struct Highlight {
    VersePlace verse = 0;  // Segond verse
    Colour colour = Colour::None;
    std::string modified;
};

struct Removal {
    std::string id;
    std::string removed;  // when
};

struct NoteFile {
    std::vector<Note> notes;
    std::vector<Highlight> highlights;
    std::vector<Removal> removals;
    int unread = 0;  // lines that were neither a record, a comment nor empty
};

// Reads the file's text; each line left out is told on standard error.
NoteFile ReadNoteFile(std::string_view text);
std::string WriteNoteFile(const NoteFile& file);

// Whether the bytes are a page or a text the notes were exported as
// (NoteBook::ExportHtml, ExportText), and their notes and highlights read
// back: what does not read is left out and counted in `unread`. The notes
// read have no identity nor times.
bool IsExportedNotes(std::string_view bytes);
NoteFile ReadExportedNotes(std::string_view bytes);

// Whether a place is a verse (book 1-66, chapter 1-150, verse 1-176), and
// whether first/last make a note's range.
bool IsVerse(VersePlace place);
bool IsRange(VersePlace first, VersePlace last);

// "2026-12-09T04:22:56Z" as seconds since 1970; nullopt when not that form.
std::optional<std::int64_t> ParseTime(std::string_view iso);
std::string FormatTime(std::int64_t seconds);

}  // namespace lorvane
