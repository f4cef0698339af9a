#pragma once

// The chapter page: one chapter, or a verse range of it, written as the HTML
// page that the reading pane (temp.htm) or the passage window (temp2.htm)
// shows. Lines end with CR LF; the text is UTF-8 and the data's text is
// written as stored, its bidirectional controls closed at each verse's end;
// a chapter whose first verse is written right to left runs from the right.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "Communs.h"
#include "PageWords.h"

namespace lorvane {

// The reader's colour behind a verse, 0xRRGGBB (0: none), and its name as
// a screen reader says it ("jaune").
struct VerseColour {
    std::uint32_t rgb = 0;
    std::string_view name;
};

// A note of the reader's on a verse: its mark after the verse number links
// to it, and is read by a screen reader as « Note : » and its first words.
struct VerseNoteMark {
    std::string id;
    std::string words;
};

// The link of a note's mark: this scheme, then the note's identity.
inline constexpr std::string_view kNoteLinkScheme = "lorvane-note:";

struct ChapterPageRequest {
    int book = 1;
    int chapter = 1;
    int firstVerse = 1;
    int lastVerse = 0;         // below firstVerse: the chapter's last verse
    bool passageMode = false;  // the passage window's page: no headings, no references
    bool wholeChapter = true;  // every verse, whatever the range
    bool verseByLine = false;  // one verse per line instead of running text
    // The reader's colour behind a verse and the marks of the reader's
    // notes after its number, by its Segond place; none when empty.
    std::function<VerseColour(VersePlace segond)> backgroundAt = {};
    std::function<std::vector<VerseNoteMark>(VersePlace segond)> notesAt = {};
    // The tagged words of a Bible (the one of the tables given), marked in
    // its verses; and written as an interlinear, each word over its number
    // and parsing.
    std::function<PageWords(const Communs&)> wordsOf = {};
    bool interlinear = false;
};

// The request with the words of each of these Bibles looked up once, for a
// page that writes many verses of each (the Bibles are told apart by their
// tables' address, which stays while the page is written).
ChapterPageRequest WordsLookedUpOnce(ChapterPageRequest request,
                                     std::span<const Communs* const> bibles);

// A verse as the pages write it: its number (in text size `size`), the
// marks of the reader's notes on it, and its text behind the reader's
// colour, when it has one.
void AppendVerse(std::string& out, const std::string& size, const Communs& c, const TVerset& verse,
                 const ChapterPageRequest& request);

struct ChapterPage {
    std::string html;         // the whole file
    bool wroteVerse = false;  // at least one verse (or the missing book's notice) is in the page
};

// Builds the page from the tables; reads c.TextSize. A book without chapters
// (one that an imported Bible lacks) gets the notice "Ce livre n'est pas
// dans cette Bible." in the reading pane.
ChapterPage BuildChapterPage(const Communs& c, const ChapterPageRequest& request);

// A verse number as the pages write it: bold, in the colour below, which
// marks it for whoever reads the page back (the reading pane's marks and
// copies). `size` is the FONT size of the verse's text.
inline constexpr unsigned kVerseNumberRgb = 0x800000;
std::string VerseNumberHtml(const std::string& size, int verse);

// The name of the page file in AppDir: "temp2.htm" in passage mode, else
// "temp.htm".
const char* ChapterPageFile(bool passageMode);

// Builds the page and writes it to AppDir + its file name, replacing the
// file (also when no verse was written). Returns whether a verse was
// written; throws std::runtime_error when the file cannot be written.
bool WriteChapterPage(const Communs& c, const ChapterPageRequest& request);

// The href of a cross-reference link: "¤" book "¤" chapter "¤" first "¤"
// last, ¤ written in UTF-8 (the pane hands it back as the Windows-1252 byte
// 0xA4).
std::string CrossRefHref(const VerseRef& target);

}  // namespace lorvane
