#pragma once

// The reader's notes and highlights, held by Louis Segond verse so that
// they show in every Bible at the verse it numbers its own way. Two windows
// that keep the same file never lose each other's notes: a save reads the
// file again under a lock and merges it (by note identity, the later change
// winning; a note removed stays removed). Widget-free.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "NoteFile.h"

namespace lorvane {

class BookNames;
class Communs;

class NoteBook {
  public:
    // The time now, "2026-12-09T04:22:56Z"; the tests give their own.
    using Clock = std::function<std::string()>;
    static std::string UtcNow();

    // A removal is forgotten this long after it was made.
    static constexpr std::int64_t kRemovalKept = 30 * 24 * 3600;
    // The largest file read.
    static constexpr std::size_t kMaxFileBytes = 16u << 20;

    explicit NoteBook(Clock clock = UtcNow);

    // A new note on Segond verses first to last (0 for one verse, else a
    // later verse of first's chapter); throws std::invalid_argument (French)
    // for verses that are no range.
    const Note& Add(VersePlace first, VersePlace last, std::string text);
    // Changes a note's verses and text; false when there is no such note.
    bool Change(const std::string& id, VersePlace first, VersePlace last, std::string text);
    bool Change(const std::string& id, std::string text);
    // Removes a note and returns it, for « Annuler »; nullopt when none. The
    // identity is taken by value: it may be the removed note's own.
    std::optional<Note> Remove(std::string id);
    // Puts back a note removed (undo): it is no longer counted removed.
    void Restore(Note note);

    // Highlights verses in a colour; Colour::None clears them.
    void SetHighlight(VersePlace verse, Colour colour);
    void SetHighlights(std::span<const VersePlace> verses, Colour colour);
    Colour HighlightAt(VersePlace verse) const;
    // The highlighted verses in Bible order.
    std::vector<Highlight> Highlights() const;

    const Note* Find(const std::string& id) const;
    std::size_t Count() const { return notes_.size(); }
    // Every note in Bible order (book, chapter, verse, then creation).
    std::vector<Note> Notes() const;
    // The notes covering a Segond verse, in Bible order.
    std::vector<Note> NotesAt(VersePlace verse) const;
    // The notes whose text holds every word of the query, whatever its
    // accents and capitals, in Bible order; all of them for an empty query.
    std::vector<Note> Filter(std::string_view query) const;

    // Reads the file; a missing file is an empty book. FileError when it
    // cannot be read or is larger than kMaxFileBytes. Returns the lines
    // left out.
    int Load(const std::string& path);
    // Merges with the file as it is now, under a lock file beside it
    // (path + ".lock"), then writes it atomically.
    void Save(const std::string& path);
    // Merges another copy of the file into this one (what Save does).
    void Merge(const NoteFile& other);

    // The notes of a file of the program's own format, added when not here
    // already (same identity, or same verses and same text); returns how
    // many were added. Its highlights are taken for verses that have none.
    int Import(std::string_view bytes);

    // A whole HTML page and a plain text of the notes, grouped by book
    // under its French name, then the highlighted verses under their colour.
    std::string ExportHtml() const;
    std::string ExportText() const;

    NoteFile Contents() const;

  private:
    std::string NewId();
    void Prune();

    Clock clock_;
    std::mt19937_64 random_;
    std::map<std::string, Note> notes_;
    std::map<VersePlace, Highlight> highlights_;  // cleared ones too, as None
    std::map<std::string, std::string> removals_;
};

// The first words of a note's text (at most `words`), on one line, with
// "…" when there are more: what a screen reader says of a note.
std::string FirstWords(std::string_view text, int words = 8);

// A note's verses as the reader reads them: "Romains 8:28-30".
std::string NoteReference(VersePlace first, VersePlace last);
// A book's French name, "Genèse"; "" for no book.
std::string_view FrenchBookName(int book);

// A reference typed in a note's text ("Rm 8:28", "1 Co 13:4-7",
// "Jean 3:16"): its bytes start..start+length in the text, and the verses
// it names in the loaded Bible's own numbering (last 0 for one verse).
struct ReferenceSpan {
    std::size_t start = 0;
    std::size_t length = 0;
    int book = 0;
    int chapter = 0;
    int first = 0;
    int last = 0;
};
// The references "book chapter:verse[-verse]" in a UTF-8 text, checked
// against the loaded Bible, in order.
std::vector<ReferenceSpan> FindReferences(std::string_view text, const BookNames& names,
                                          const Communs& communs);

// The link of a reference in a note's text: this scheme, then
// "book:chapter:first:last" in the loaded Bible's numbering.
inline constexpr std::string_view kReferenceLinkScheme = "lorvane-ref:";
// A note's text as HTML to show: every character escaped, its lines kept,
// each reference found a link.
std::string NoteTextHtml(std::string_view text, const std::vector<ReferenceSpan>& references);
// The verses of a reference link; nullopt for any other text.
std::optional<ReferenceSpan> ReferenceOfLink(std::string_view href);

// Segond verses of a range as a Bible numbers it (first to last, last 0 for
// one verse); first 0 when the Segond has no such verse. A range whose end
// falls in another Segond chapter keeps only its first verse.
std::pair<VersePlace, VersePlace> SegondRange(const Numbering& numbering, VersePlace first,
                                              VersePlace last);

}  // namespace lorvane
