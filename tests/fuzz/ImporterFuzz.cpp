// The parsers of lorvane-data on arbitrary bytes: a USFM book, a French
// reference list, a study page's links; and the text of any script as the
// tables and pages keep it. None may crash, hang or read out of bounds, and
// what they produce must fit the data format: verses and titles in valid
// UTF-8, never the terminator byte, no noncharacter, at most thirty marks on
// a letter, the direction controls of a text closed at its end; a book whose
// markers nest too deep may be refused (ImportError).

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "BibleData.h"
#include "BibleText.h"
#include "FrenchRefs.h"
#include "Osis.h"
#include "Pages.h"
#include "StoredText.h"
#include "TagsFit.h"
#include "Usfm.h"
#include "Utf8.h"
#include "VerseText.h"

namespace {

// Whether UTF-8 text keeps to what an import writes.
bool AsImported(std::string_view t) {
    if (!lorvane::utf8::IsValid(t) || t.find('\xFE') != std::string_view::npos) return false;
    for (std::size_t i = 0; i < t.size();) {
        const char32_t cp = lorvane::utf8::Next(t, i);
        if ((cp >= 0xFDD0 && cp <= 0xFDEF) || (cp & 0xFFFE) == 0xFFFE) return false;
    }
    return true;
}

// Whether every direction control the text opens is closed in it.
bool Balanced(std::string_view t) {
    int open = 0;
    for (std::size_t i = 0; i < t.size();) {
        const char32_t cp = lorvane::utf8::Next(t, i);
        if ((cp >= 0x202A && cp <= 0x202E && cp != 0x202C) || (cp >= 0x2066 && cp <= 0x2068))
            ++open;
        if (cp == 0x202C || cp == 0x2069) --open;
        if (open < 0) return false;
    }
    return open == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvane::importer;
    const std::string input(reinterpret_cast<const char*>(data), size);

    Report report;
    TextConverter text;
    UsfmBook book;
    try {
        book = ParseUsfmBook(input, "fuzz.usfm", text, report);
    } catch (const ImportError&) {
        // Markers nested too deep: refused as damaged.
    }
    for (const auto& v : book.verses) {
        if (!AsImported(v.text) || !Balanced(lorvane::BidiClosed(v.text))) std::abort();
        if (v.chapter < 1 || v.chapter > kMaxChapter || v.verse < 1 || v.verse > kMaxVerse)
            std::abort();
    }
    if (!TagsFit(book)) std::abort();
    for (const auto& h : book.headings) {
        std::string title = h.title;
        CutTitle(title);
        if (title.size() > 151 || !AsImported(title)) std::abort();
    }
    // The input as a verse of a data folder, marked UTF-8 or not, and as a
    // fixed field cut anywhere: always valid UTF-8 once loaded.
    for (bool utf8 : {true, false}) {
        std::string loaded;
        lorvane::storedtext::AppendUtf8(loaded, input, utf8);
        if (!lorvane::utf8::IsValid(loaded)) std::abort();
        const std::string field = lorvane::storedtext::FieldToUtf8(
            std::string_view(input).substr(0, std::min<std::size_t>(input.size(), 151)), utf8);
        if (!lorvane::utf8::IsValid(field)) std::abort();
    }
    if (lorvane::utf8::IsValid(input) && !Balanced(lorvane::BidiClosed(input))) std::abort();
    for (const auto& note : book.notes)
        ParseFrenchRefs(note.refs, 1, 1);
    ParseFrenchRefs(input, 1, 1);

    ScanPage(input);
    SpaceAroundNotes(input);
    OsisPlainText(input);
    std::vector<lorvane::words::WordTag> tags;
    std::string plain = OsisPlainText(input, tags, size % 2 == 0);
    lorvane::words::VerseWords placed = lorvane::words::PlaceTags(1, 1, 1, plain, tags);
    for (const auto& t : placed.tags)
        if (t.start + t.length > plain.size()) std::abort();
    OsisTitles(input);
    OsisCrossRefs(input);
    return 0;
}
