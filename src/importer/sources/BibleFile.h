#pragma once

// A Bible read by a helper process, handed to the program in one file: the
// BibleData, what the source is ("module SWORD (zText, OSIS)"), its name
// and abbreviation, the books it passed over and the letters it replaced.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BibleData.h"

namespace lorvane::importer {

struct HelperBible {
    BibleData bible;
    std::string form;                  // UTF-8, "module SWORD (zText, OSIS)"
    std::string name, abbreviation;    // UTF-8, the source's own
    std::vector<std::string> outside;  // the books beyond the 66, as the source names them
    // The letters without a Windows-1252 form written as their nearest
    // letter, and the first of them with what it became ("ב -> ?").
    std::int32_t foreign = 0;
    std::string foreignExample;
};

std::string EncodeHelperBible(const HelperBible& b);

// Throws ImportError when the bytes are not a whole file of EncodeHelperBible
// (cut short, counts beyond a Bible's, numbers out of range).
HelperBible DecodeHelperBible(std::string_view bytes);

}  // namespace lorvane::importer
