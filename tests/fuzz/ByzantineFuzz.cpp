// The reader of the Greek New Testament's CSV files on arbitrary bytes: the
// input is cut at its form feeds into the accented text of John, its parsed
// text, the pericope printed apart, and Acts with its passage printed apart.
// A damaged file may be refused (ImportError), never crash, hang or read out
// of bounds; every tag must lie inside its verse, in order, and every word
// the alignment pairs must be the same word on both sides.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "ByzantineText.h"
#include "Reasons.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvane::importer;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    for (std::size_t at = 0;;) {
        const std::size_t feed = input.find('\f', at);
        parts.emplace_back(input.substr(at, feed == std::string_view::npos ? feed : feed - at));
        if (feed == std::string_view::npos) break;
        at = feed + 1;
    }
    static const char* const kNames[] = {"accented/JOH.csv",        "strongs-parsing/JOH.csv",
                                         "accented/PA.csv",         "accented/ACT.csv",
                                         "strongs-parsing/ACT.csv", "accented/ACT24.csv"};
    ByzantineFiles files;
    for (std::size_t i = 0; i < parts.size() && i < std::size(kNames); ++i)
        files[kNames[i]] = parts[i];

    // The pieces alone.
    try {
        for (const CsvRecord& r : ReadCsv(parts[0], "fuzz.csv"))
            if (r.fields.empty() || r.line < 1) std::abort();
    } catch (const ImportError&) {
    }
    const std::vector<ParsedWord> entries = ReadParsedWords(parts[0]);
    std::vector<std::string> folded, foldedEntries;
    for (const ParsedWord& e : entries) {
        if (e.word.empty() || e.morph.size() > 64) std::abort();
        foldedEntries.push_back(FoldGreek(e.word));
    }
    for (std::size_t i = 0; i < foldedEntries.size(); i += 2)
        folded.push_back(foldedEntries[i]);
    folded.push_back(FoldGreek(parts.back()));
    const std::vector<int> aligned = AlignFolded(folded, foldedEntries);
    int last = -1;
    for (std::size_t i = 0; i < aligned.size(); ++i) {
        if (aligned[i] < 0) continue;
        if (aligned[i] <= last || aligned[i] >= static_cast<int>(foldedEntries.size()) ||
            folded[i] != foldedEntries[static_cast<std::size_t>(aligned[i])])
            std::abort();
        last = aligned[i];
    }

    // The whole reader.
    Report report;
    try {
        const ByzantineText text = ReadByzantineFiles(files, "fuzz", report);
        for (const lorvane::words::VerseWords& w : text.bible.words) {
            const lorvane::datawriter::VerseEntry* verse = nullptr;
            for (const auto& v : text.bible.verses)
                if (v.book == w.book && v.chapter == w.chapter && v.verse == w.verse) verse = &v;
            if (!verse) std::abort();
            std::uint32_t end = 0;
            for (const auto& t : w.tags) {
                if (t.start < end || t.length == 0 || t.start + t.length > verse->text.size())
                    std::abort();
                end = t.start + t.length;
            }
        }
        if (text.all.words != text.all.tagged + text.all.notAligned + text.all.apart) std::abort();
    } catch (const ImportError&) {
    }
    return 0;
}
