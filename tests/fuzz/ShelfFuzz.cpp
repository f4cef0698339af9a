// libFuzzer target: the list of the reader's Bibles, on arbitrary input.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "BibleShelf.h"

using namespace lorvane::bibles;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const ShelfList list = ReadShelfList(text);
    // No line read may name a folder outside the shelf.
    for (const KeptBible& b : list.bibles) {
        if (!IsShelfFolderName(b.folder) && b.folder != kProgramBible) std::abort();
        if (b.name.size() > 4 * kMaxName || b.abbreviation.size() > 4 * kMaxAbbreviation)
            std::abort();
    }
    // What is written reads back the same.
    const ShelfList back = ReadShelfList(WriteShelfList(list));
    if (back.bibles.size() != list.bibles.size() || back.current != list.current ||
        back.programHidden != list.programHidden)
        std::abort();
    for (std::size_t i = 0; i < list.bibles.size(); ++i)
        if (back.bibles[i].name != list.bibles[i].name ||
            back.bibles[i].abbreviation != list.bibles[i].abbreviation)
            std::abort();
    if (CleanName(CleanName(text, 40), 40) != CleanName(text, 40)) std::abort();
    return 0;
}
