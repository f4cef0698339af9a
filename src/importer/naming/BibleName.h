#pragma once

// The name and the abbreviation under which the reader finds an imported
// Bible. Each source says what it can of itself: a DBL bundle its
// metadata.xml, a USFM set the description of its \id lines or the title of
// its front matter, an XML Bible its header; where it says nothing, the
// name of the reader's file or folder stands in. The name is for showing
// (UTF-8, one line, at most 300 characters), never a path; the abbreviation
// (at most 8 letters and digits) heads columns and follows copied verses.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "BibleNames.h"
#include "FormSniffing.h"
#include "UsfmSource.h"

namespace lorvane::importer {

// What a source tells of itself, UTF-8, "" where it tells nothing.
struct BibleNaming {
    std::string name;
    std::string abbreviation;
};

// An abbreviation as kept: the letters and digits of the text, at most
// kAbbreviationLength of them.
std::string CleanAbbreviation(std::string_view text);

// An abbreviation made from a name: the word itself when there is one
// ("Darby"), else the initials of its words, numbers kept whole ("Louis
// Segond 1910" → "LS1910"); "" when the name has no letter or digit.
std::string AbbreviationFromName(std::string_view name);

// The name the reader gave the file or folder, without what says its form:
// "fraLSG_usfm.zip" → "fraLSG", "Ma Bible.zip" → "Ma Bible", a book file
// "02-GENfraLSG.usfm" → its set "fraLSG" (or its folder's name when it has
// no set). "" when there is none.
std::string NameFromSourceName(const std::filesystem::path& source);

// The Bible's short name as its downloaded file tells it, UTF-8, "" when it
// tells none: eBible names a set by a language code and the abbreviation
// ("fraLSG_usfm.zip", "02-GENfraLSG.usfm" → "LSG"). At most 8 characters.
std::string AbbreviationFromSourceName(const std::filesystem::path& source);

// What the headers of a USFM set's book files tell: the description of
// their \id lines that most books agree on ("\id GEN Louis Segond 1910"),
// file names, encodings, dates and a book's own title left out; else the
// \toc1, \toc2 or \mt title of the front matter (FRT or INT).
BibleNaming NameFromUsfmBooks(const std::vector<SourceFile>& files);

// What the header of an XML Bible (UTF-8) tells: OSIS its <work>'s title
// and osisWork, Zefania its <INFORMATION>'s title and identifier, USFX the
// description its books' <id> agree on.
BibleNaming NameFromXmlBible(std::string_view utf8, BibleForm form);

// The <identification> of a DBL bundle's metadata.xml: <nameLocal> and
// <abbreviationLocal> where given, else <name> and <abbreviation>. Nothing
// from a file that is not such metadata or not well formed.
BibleNaming ParseBundleMetadata(std::string_view bytes);

// The metadata.xml of the DBL bundle the source belongs to: an entry of the
// archive (the one nearest its root), or a file in the source's folder or
// one of the three folders above it. Nothing when there is none; never
// throws for a damaged or unreadable one.
BibleNaming FindBundleMetadata(const std::filesystem::path& source);

// The name and abbreviation of a Bible imported from `source`, neither
// ever empty: the bundle's metadata first, then what the source itself
// told (`own`), then the source's file name; the abbreviation then from
// the eBible file name (AbbreviationFromSourceName), else from the name.
BibleNaming NameImportedBible(const BibleNaming& own, const std::filesystem::path& source);

}  // namespace lorvane::importer
