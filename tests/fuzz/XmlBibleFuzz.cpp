// One XML Bible reader (OSIS, Zefania or USFX, chosen when built) on
// arbitrary bytes, through the decoding the import uses. A damaged file may
// be refused (ImportError), never crash, hang or read out of bounds, and
// what is read must fit the data format.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "BibleForm.h"
#include "BibleText.h"
#include "BibleXml.h"
#include "Osis.h"
#include "TagsFit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvane::importer;
    const std::string input(reinterpret_cast<const char*>(data), size);
    static const VerseIndex noVerses({});

    DetectBibleForm(input);
    Report report;
    TextConverter text;
    try {
        const std::string utf8 =
            SourceToUtf8(input, StatedInXmlDeclaration(input), "fuzz.xml", report);
        const XmlBible bible = LORVANE_FUZZ_PARSER(utf8, "fuzz.xml", text, report);
        for (const UsfmBook& book : bible.books) {
            if (book.number < 0 || book.number > kBooks) std::abort();
            for (const auto& v : book.verses) {
                if (v.text.find('\xFE') != std::string::npos) std::abort();
                if (v.chapter < 1 || v.chapter > kMaxChapter || v.verse < 1 || v.verse > kMaxVerse)
                    std::abort();
            }
            for (const auto& h : book.headings)
                if (h.chapter < 1 || h.chapter > kMaxChapter || h.verse < 1) std::abort();
            for (const auto& note : book.notes)
                ParseOsisRefs(note.osisRefs, noVerses);
            if (!TagsFit(book)) std::abort();
        }
    } catch (const ImportError&) {
    }
    return 0;
}
