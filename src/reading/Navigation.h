#pragma once

// Widget-free pieces of the reading window: tab captions and position
// values, the reading pane's rule for its links (the links themselves are
// decoded by PageLinks.h, below every room), and the items of the book
// index list.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Communs.h"
#include "History.h"
#include "PageLinks.h"

namespace lorvane {

// The caption of a text tab: the book's Name and a space, the two cut to 26
// characters, then the chapter ("Genèse 1"). UTF-8.
std::string TabCaption(const Communs& c, int book, int chapter);

// The first book the Bible has (a chapter or more), 1 when it has none:
// where the reader lands at start and after an import.
int FirstBook(const Communs& c);

// Where a tab's place leads in the Bible of `c`, after another Bible was
// chosen: the same chapter when the Bible has it, else that book's first
// chapter, else the first book's; the verse is the first.
Place PlaceInBible(const Communs& c, const Place& place);

// What the reading pane does with a navigation it reports.
struct LinkDecision {
    enum Kind { Proceed, Cancel, OpenPassage } kind = Cancel;
    VerseRef passage;  // for OpenPassage
};

// The reading pane's rule for a URL (Windows-1252 bytes): a cross-reference
// link ("¤" fields) opens its passage; a URL with "#" proceeds; an existing
// file proceeds; anything else, and any link that does not decode, is
// cancelled. `fileExists` answers for the third case, given the URL.
LinkDecision DecideReadingLink(std::string_view url,
                               const std::function<bool(const std::string&)>& fileExists);

// One item of the book index list.
struct BookIndexItem {
    std::string text;      // mini-HTML, UTF-8
    std::int32_t value;    // chapter * 1000 + verse
    std::int32_t chapter;  // the heading's chapter
    std::int32_t verse;    // and verse
};

// The headings of a book ("D" bold, "E" indented; titles cut to 150
// characters), in table order.
std::vector<BookIndexItem> BookIndexItems(const Communs& c, int book);

// The item to show at the top of the list for a chapter: the first whose
// chapter is not less than it, else 0.
int BookIndexTopItem(const std::vector<BookIndexItem>& items, int chapter);

}  // namespace lorvane
