#pragma once

// The XML forms of a Bible, read with Qt's stream reader into the books the
// USFM parser gives (Usfm.h), so that the same assembly makes them a Bible:
//   OSIS     <div type="book" osisID="Gen">, <chapter osisID="Gen.1">, verses
//            as milestones (<verse sID/> ... <verse eID/>) or containers
//            (<verse osisID="Gen.1.1">...</verse>); <title> a section heading,
//            <note type="crossReference"> the verse's cross-references from
//            its <reference osisRef>; other notes dropped.
//   Zefania  <BIBLEBOOK bnumber>, <CHAPTER cnumber>, <VERS vnumber>; <CAPTION>
//            a heading; <NOTE> and <XREF> dropped, <gr> and <STYLE> kept as
//            their words; <INFORMATION><title> the Bible's name.
//   USFX     <book id>, <c id/>, <v id/> ... <ve/>; <s> a heading (<ms> a
//            major one), <x> a cross-reference note read from its <xt> as
//            French references, <f> dropped, <w> kept as its words.
// Verse text keeps the words of every other element. A document type that
// declares entities is refused before any of them is read: nothing is ever
// expanded. Damaged files (ill-formed XML, chapter 0, a verse number past
// the format, more chapters than a book can have, elements nested deeper
// than kMaxXmlDepth) throw ImportError with a French message naming the
// form and the line. Verses numbered 0 or below, or not at all, are left
// out and counted (kVerseZero and its kin, Usfm.h).

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "BibleText.h"
#include "Report.h"
#include "Usfm.h"

namespace lorvane::importer {

// The deepest nesting of elements a Bible's XML may have; the deepest
// real ones hold a few dozen levels. Past it a file is refused as damaged,
// before its depth costs memory.
inline constexpr int kMaxXmlDepth = 1000;

struct XmlBible {
    std::vector<UsfmBook> books;  // in the file's order
    std::string name;             // the Bible's own name, UTF-8, "" when it has none
};

// Told the French name (UTF-8) of each book of the 66 as it starts, and
// asked there whether to stop (ImportCancelled).
struct XmlSteps {
    std::function<void(const std::string&)> reading;
    std::function<bool()> cancelled;
};

XmlBible ParseOsisXml(std::string_view utf8, const std::string& file, TextConverter& text,
                      Report& report, const XmlSteps& steps = {});
XmlBible ParseZefaniaXml(std::string_view utf8, const std::string& file, TextConverter& text,
                         Report& report, const XmlSteps& steps = {});
XmlBible ParseUsfxXml(std::string_view utf8, const std::string& file, TextConverter& text,
                      Report& report, const XmlSteps& steps = {});

// What the XML declaration says of the encoding ("UTF-8", "windows-1252",
// "ISO-8859-1"...), None when it names none or another.
StatedEncoding StatedInXmlDeclaration(std::string_view bytes);

}  // namespace lorvane::importer
