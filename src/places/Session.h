#pragma once

// Where the reader stopped, kept between runs in a small plain-text file:
//
//   # Session de Lorvane
//   taille 3
//   lignes 1
//   module 3
//   courant 0
//   comparees dby *
//   onglet 43 3 16 1250 14
//   onglet 1 1 1 -1 0
//
// "onglet" lines are the tabs in order (book, chapter, verse, scroll
// position, -1 for the verse itself, and the verse at the top of the view,
// 0 when unknown), "courant" the index of the tab read,
// "taille" the text size 1 to 4, "lignes" 1 for one verse per line,
// "module" the module pane shown (0 to 6), "comparees" the Bibles shown
// beside the one read, by their folder on the shelf ("*" for the
// program's own, "*grc" for one it ships), in column order; a session
// without it compares none. With a shipped Bible, the line is written
// "#+ comparees ...": a comment to an older program, which would otherwise
// read no session at all.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Communs.h"
#include "History.h"

namespace lorvane {

struct Session {
    std::vector<Place> tabs;
    int current = 0;
    int textSize = 2;
    bool versePerLine = false;
    int module = 0;
    std::vector<std::string> compared;  // shelf folders, at most kMaxComparedFolders
};

inline constexpr std::size_t kMaxComparedFolders = 3;

// The session of a file, or nullopt when it holds no tab or a line that
// cannot be read (the file is then ignored whole).
std::optional<Session> ReadSession(std::string_view text);
std::string WriteSession(const Session& session);

// A place brought within the loaded Bible: a chapter the book lacks gives
// the book's first chapter, a verse the chapter lacks its first verse, both
// from the top of the page. A book of the 66 the Bible lacks is kept as it
// is (its page says so, and another Bible may have it); a number outside
// them gives Genèse 1.
Place FitPlace(const Communs& communs, Place place);

}  // namespace lorvane
