// libFuzzer target: the parsing codes of the Greek and Hebrew words and
// their Strong's numbers, on arbitrary input. What comes out is UTF-8,
// short, and says when the code was not understood.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Morphology.h"
#include "StrongNumber.h"
#include "WordTable.h"
#include "WordTags.h"

using namespace lorvane::words;

namespace {

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = byte < 0x80           ? 1
                                   : (byte >> 5) == 0x6  ? 2
                                   : (byte >> 4) == 0xE  ? 3
                                   : (byte >> 3) == 0x1E ? 4
                                                         : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

void Check(const Parsing& parsing) {
    if (!IsUtf8(parsing.full) || !IsUtf8(parsing.brief) || parsing.full.size() > 4096 ||
        parsing.brief.size() > 4096)
        std::abort();
    if (!parsing.known && parsing.full.find(" (code inconnu)") == std::string::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    Check(ExpandRobinson(input));
    Check(ExpandOshm(input));
    for (char language : {'G', 'H'}) {
        const std::string one = NormaliseStrong(input, language);
        if (!one.empty() && (one.size() < 5 || one.size() > 6 || one[0] != language)) std::abort();
        for (const std::string& number : NormaliseStrongs(input, language))
            if (number.size() < 5 || number.size() > 6) std::abort();
    }
    // Tags from any attributes: short, and only sound numbers.
    const std::size_t half = input.size() / 2;
    for (bool hebrew : {false, true}) {
        const WordTag tag = TagFromAttributes(input.substr(0, half), input.substr(half), hebrew);
        if (tag.morph.size() > 64 || tag.lemma.size() > 128 || tag.strongs.size() > 8 * 7)
            std::abort();
        if (!IsUtf8(tag.lemma) && IsUtf8(input.substr(0, half))) std::abort();
    }
    std::string marked(input);
    for (const auto& [start, length] : TakeWordMarks(marked))
        if (start + length > marked.size()) std::abort();
    // The words file of a data folder, damaged anyhow.
    const WordTable table = WordTable::Parse("lorvane-mots 1\n" + std::string(input));
    for (const auto& occurrence : table.Occurrences("G0001"))
        if (table.VerseWords(occurrence.book, occurrence.chapter, occurrence.verse).size() <=
            occurrence.word)
            std::abort();
    const HebrewLemma lemma = ParseHebrewLemma(input);
    if (!lemma.strong.empty() && lemma.strong[0] != 'H') std::abort();
    return 0;
}
