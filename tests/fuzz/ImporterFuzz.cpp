// The parsers of lorvane-data on arbitrary bytes: a USFM book, a French
// reference list, a study page's links. None may crash, hang or read out of
// bounds, and what they produce must fit the data format; a book whose
// markers nest too deep may be refused (ImportError).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "BibleData.h"
#include "BibleText.h"
#include "FrenchRefs.h"
#include "Osis.h"
#include "Pages.h"
#include "Usfm.h"

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
        if (v.text.find('\xFE') != std::string::npos) std::abort();
        if (v.chapter < 1 || v.chapter > kMaxChapter || v.verse < 1 || v.verse > kMaxVerse)
            std::abort();
    }
    for (const auto& h : book.headings) {
        std::string title = h.title;
        CutTitle(title);
        if (title.size() > 151) std::abort();
    }
    for (const auto& note : book.notes)
        ParseFrenchRefs(note.refs, 1, 1);
    ParseFrenchRefs(input, 1, 1);

    ScanPage(input);
    SpaceAroundNotes(input);
    OsisPlainText(input);
    OsisTitles(input);
    OsisCrossRefs(input);
    return 0;
}
