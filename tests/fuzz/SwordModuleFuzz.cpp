// What the program reads of a SWORD module before libsword opens it, and
// the Bible the helper hands back, on arbitrary bytes: the .conf, a verse
// index against its block index, and the helper's file with its counts.
// None may crash, hang or read out of bounds; what passes must hold
// together.

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>

#include "BibleFile.h"
#include "SwordConf.h"
#include "UsfmSource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lorvane::importer;
    const std::string input(reinterpret_cast<const char*>(data), size);

    try {
        const SwordConf conf = ParseSwordConf(input);
        if (conf.name.empty()) std::abort();
        const SwordModuleFacts facts = CheckSwordConf(conf, size % 2 == 1);
        for (const auto& part : facts.dataPath)
            if (part == "..") std::abort();
        if (facts.dataPath.is_absolute()) std::abort();
        if (facts.commentary && size % 2 == 0) std::abort();
    } catch (const ImportError&) {
    }

    // The first bytes choose the driver and where the block index starts.
    if (size >= 2) {
        static const char* const kDrivers[] = {"RawText", "RawText4", "zText", "zText4",
                                               "RawCom",  "RawCom4",  "zCom",  "zCom4"};
        const std::string driver = kDrivers[data[0] % 8];
        const std::size_t split = std::min<std::size_t>(data[1] * 4u, size - 2);
        // A Bible's index is refused whole; a commentary's verses that
        // point outside are set aside, each within the index.
        std::set<std::int64_t> bad;
        try {
            CheckSwordIndex(driver, input.substr(2, split), input.substr(2 + split), size * 3u,
                            1u << 20, data[0] % 8 >= 4 ? &bad : nullptr);
        } catch (const ImportError&) {
        }
        for (std::int64_t verse : bad)
            if (verse < 0 || static_cast<std::size_t>(verse) * 6 >= split) std::abort();
    }

    try {
        const HelperBible h = DecodeHelperBible(input);
        if (h.bible.books.size() != 66) std::abort();
        const HelperBible again = DecodeHelperBible(EncodeHelperBible(h));
        if (again.bible.verses.size() != h.bible.verses.size() || again.foreign != h.foreign ||
            again.foreignExample != h.foreignExample || again.bible.numbering != h.bible.numbering)
            std::abort();
    } catch (const ImportError&) {
    }
    return 0;
}
