// libFuzzer target: a Strong's dictionary file beside the program, damaged
// in any way, and the SWORD lexicon entries it is converted from. Neither
// may crash, hang or read out of bounds; a lookup gives UTF-8 of bounded
// size under a number in the one form, and an entry made from the
// lexicon's markup writes a file that reads back to it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "StrongNumber.h"
#include "StrongsDictionary.h"
#include "StrongsLexicon.h"
#include "Utf8.h"

using namespace lorvane;
using words::StrongsEntry;

namespace {

void CheckEntry(const StrongsEntry& e) {
    if (words::NormaliseStrong(e.number, e.number.empty() ? 'G' : e.number[0]) != e.number)
        std::abort();
    for (const std::string* field : {&e.word, &e.transliteration, &e.pronunciation})
        if (field->size() > words::kMaxShortField + 3 || !utf8::IsValid(*field)) std::abort();
    if (e.definition.size() > words::kMaxDefinition + 3 || !utf8::IsValid(e.definition))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);

    // The input as a dictionary file, and the same behind the format line.
    for (const std::string& bytes :
         {input, std::string(words::kStrongsFileFormat) + "\n" + input}) {
        const words::StrongsDictionary d = words::StrongsDictionary::Parse(bytes);
        for (const char* number : {"G3056", "G1", "H430", "H1254a", "H1254 b", "G5624", "H8674"})
            if (const auto e = d.Lookup(number)) CheckEntry(*e);
        // Every line's own number finds an entry.
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            if (end == std::string::npos) end = bytes.size();
            const std::string_view line(bytes.data() + start, end - start);
            const std::string_view number = line.substr(0, line.find('\t'));
            if (number.size() >= 5 && number.size() <= 6)
                if (const auto e = d.Lookup(number)) CheckEntry(*e);
            start = end + 1;
        }
    }

    // The input as a lexicon entry: what it gives survives the file.
    if (const auto entry = importer::StrongsEntryFromTei(input, "H1254")) {
        if (!utf8::IsValid(entry->word) || !utf8::IsValid(entry->definition)) std::abort();
        const auto back =
            words::StrongsDictionary::Parse(words::FormatStrongsFile({*entry}, {})).Lookup("H1254");
        if (!back) std::abort();
        if (entry->definition.size() <= words::kMaxDefinition &&
            entry->definition.find_first_of("\t\n\r") == std::string::npos &&
            back->definition != entry->definition)
            std::abort();
    }
    return 0;
}
