// The readers of what a source says of its name, on arbitrary bytes: a DBL
// bundle's metadata, the header of a USFM book, the header of an XML Bible,
// and the cleaning of names and abbreviations. None may crash, hang or read
// out of bounds; a name is one line of at most 300 characters of valid
// UTF-8, an abbreviation at most 8 letters and digits.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "BibleForm.h"
#include "BibleName.h"
#include "BibleText.h"

namespace {

using namespace lorvane;
using namespace lorvane::importer;

std::size_t CheckedCharacters(const std::string& utf8) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < utf8.size(); ++n) {
        const std::size_t at = pos;
        const char32_t cp = NextCodePoint(utf8, pos);
        // A malformed sequence reads as U+FFFD over one byte.
        if (cp == 0xFFFD && utf8.compare(at, 3, "\xEF\xBF\xBD") != 0) std::abort();
        if (cp < 0x20 || cp == 0x7F) std::abort();
    }
    return n;
}

void CheckName(const std::string& name) {
    if (CheckedCharacters(name) > kNameLength) std::abort();
    if (!name.empty() && (name.front() == ' ' || name.back() == ' ')) std::abort();
    if (name.find("  ") != std::string::npos) std::abort();
}

void CheckAbbreviation(const std::string& abbreviation) {
    if (CheckedCharacters(abbreviation) > kAbbreviationLength) std::abort();
    if (abbreviation.find(' ') != std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    const BibleNaming bundle = ParseBundleMetadata(input);
    CheckName(bundle.name);
    CheckAbbreviation(bundle.abbreviation);

    const BibleNaming usfm = NameFromUsfmBooks({{"a.usfm", input}, {"b.usfm", input}});
    CheckName(usfm.name);

    const std::string utf8 = CleanBibleName(input);
    CheckName(utf8);
    CheckAbbreviation(CleanAbbreviation(input));
    CheckAbbreviation(AbbreviationFromName(input));
    for (BibleForm form : {BibleForm::Osis, BibleForm::Zefania, BibleForm::Usfx}) {
        const BibleNaming xml = NameFromXmlBible(input, form);
        CheckName(CleanBibleName(xml.name));
        CheckAbbreviation(CleanAbbreviation(xml.abbreviation));
    }
    return 0;
}
