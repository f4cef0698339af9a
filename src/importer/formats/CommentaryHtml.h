#pragma once

// The entries of a commentary module as simple HTML: paragraphs, italics,
// bold, line breaks, and the scripture references as verse links
// ("¤book¤chapter¤first¤last", Segond numbers); every other tag is dropped
// and every text escaped. Widget-free and without libsword: the references
// are resolved by the caller.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lorvane::importer {

struct LinkTarget {
    int book = 0, chapter = 0, first = 0, last = 0;  // last 0: the first alone
};
// A reference as the module writes it ("jer 4:23-27", "Gen.1.1") to its
// verses; nullopt when it names none.
using ReferenceResolver = std::function<std::optional<LinkTarget>(const std::string& reference)>;

// OSIS (`thml` false) or ThML markup to HTML; nullopt when it is not well
// formed (the caller then shows it as plain text).
std::optional<std::string> MarkupToHtml(std::string_view markup, bool thml,
                                        const ReferenceResolver& resolve);

// GBF markup to HTML: <FI>…<Fi> italics, <FB>…<Fb> bold, <CM> a paragraph,
// <CL> a line break; notes (<RF>…<Rf>) and every other tag dropped.
std::string GbfToHtml(std::string_view markup);

// Plain text to HTML: escaped, a blank line a paragraph, a line end a break.
std::string PlainToHtml(std::string_view text);

// The href of a verse link.
std::string LinkHref(const LinkTarget& target);

// The text of markup, each tag a line end, entities left as written.
std::string MarkupText(std::string_view markup);

// Whether the headings of an entry's text (lines as MarkupText gives them)
// agree with the verses first to last of `chapter` it is stored under. A
// heading is a line of its own: "Chapter 5" and "Psalm 23" must name that
// chapter; a heading of verses that opens the entry, its own ("Verses
// 21-26", "Verse 3.", "Verses 1:30-2:3"), must name those verses from its
// first one. True when it has no heading.
bool HeadingAgrees(std::string_view text, int chapter, int first, int last);

}  // namespace lorvane::importer
