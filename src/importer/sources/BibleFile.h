#pragma once

// A Bible read by a helper process, handed to the program in one file: the
// BibleData, what the source is ("module SWORD (zText, OSIS)"), its name
// and abbreviation and the books it passed over.

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
    // Their place in the file is kept; nothing fills them since every
    // letter is kept as written: 0 and empty.
    std::int32_t foreign = 0;
    std::string foreignExample;
};

std::string EncodeHelperBible(const HelperBible& b);

// Throws ImportError when the bytes are not a whole file of EncodeHelperBible
// (cut short, counts beyond a Bible's, numbers out of range).
HelperBible DecodeHelperBible(std::string_view bytes);

// A commentary read by the helper: what it is, its names, the entries it
// left out, and its file (Commentary.h).
struct HelperCommentary {
    std::string form, name, abbreviation;  // UTF-8
    std::int32_t leftOut = 0;
    std::string file;
};

std::string EncodeHelperCommentary(const HelperCommentary& c);
// Whether the helper's bytes are a commentary's.
bool IsHelperCommentary(std::string_view bytes);
// Throws ImportError when the bytes are not a whole EncodeHelperCommentary.
HelperCommentary DecodeHelperCommentary(std::string_view bytes);

}  // namespace lorvane::importer
