#pragma once

// What the SWORD importer reads from the OSIS markup of an entry itself:
// titles, cross-reference notes, and where a removed note would glue two
// words together.

#include <string>
#include <string_view>
#include <vector>

#include "FrenchRefs.h"
#include "VerseIndex.h"
#include "WordTags.h"

namespace lorvane::importer {

// The entry with a space put before each note that stands between a letter,
// digit or closing punctuation and a letter or digit
// ("God<note>...</note>created", "Lord,<note>...</note>you"), so that the
// words stay apart once the note is gone.
std::string SpaceAroundNotes(std::string_view osis);

// The entry without its <title> elements.
std::string RemoveTitles(std::string_view osis);

// The words of an entry as a reader sees them, UTF-8: notes, titles and
// speakers' labels left out, every other element's text kept (words of Jesus, divine names,
// Strong's words), a line or paragraph break as a space, entities decoded,
// blanks folded into one space. What libsword's plain rendering gives, at a
// small part of its cost.
std::string OsisPlainText(std::string_view osis);
// The same, with each word that carries a Strong's number or a parsing
// (<w lemma morph>) between the marks of WordTags.h, its tag added to
// `tags` in order (`hebrew`: bare numbers are the Old Testament's).
std::string OsisPlainText(std::string_view osis, std::vector<words::WordTag>& tags, bool hebrew);

// The text of the entry's <title> elements (not running heads), markup
// removed, UTF-8.
std::vector<std::string> OsisTitles(std::string_view osis);

// The references of the entry's cross-reference notes: per note, the
// osisRef of each <reference> that has one, else its text; references that
// only label the note (type="annotateRef") are left out. A note without
// <reference> gives its whole text.
std::vector<std::vector<std::string>> OsisCrossRefs(std::string_view osis);

// The targets of osisRef values ("Gen.1.1", "Ps.23", "Matt.5.3-Matt.5.12",
// "Bible:Rom.8.28!a", several separated by spaces); a range over several
// chapters gives one target per chapter, the chapters' last verses taken
// from `verses`. A value that names no book of the 66 is unread.
RefList ParseOsisRefs(const std::vector<std::string>& refs, const VerseIndex& verses);

// Text with its markup removed and the five XML entities decoded.
std::string StripMarkup(std::string_view xml);

}  // namespace lorvane::importer
