#pragma once

// The SWORD importer: a Bible module installed for libsword, read verse by
// verse in the module's own versification. Only the 66 books go into the
// data (the deuterocanonical books are counted and skipped). Verse text
// comes from SWORD's own plain-text filters; from OSIS modules also the
// titles (section titles and psalm titles, as "E" headings before their
// verse) and the cross-reference notes. Book names and abbreviations are
// the module's, in its language where SWORD has that locale.

#include <filesystem>
#include <string>
#include <vector>

#include "BibleData.h"
#include "Report.h"

namespace sword {
class SWModule;
}

namespace lorvane::importer {

// Names of the installed SWORD Bible modules.
std::vector<std::string> SwordBibles();

// Throws std::runtime_error when the module is not installed or is not a
// Bible, or lacks one of the 66 books.
BibleData ImportSword(const std::string& module, Report& report);

// The Bible module `module` of the SWORD library at `root` (the folder
// holding mods.d/), read without the user's or the system's libraries. The
// books the module lacks are left without chapters. Throws
// std::runtime_error when it does not open, is not a Bible or holds no
// verse of the 66 books.
BibleData ImportSwordLibrary(const std::filesystem::path& root, const std::string& module,
                             Report& report);

// An opened module; with `partial`, missing books are not an error. Its
// text is kept as written, in UTF-8.
BibleData ImportSwordModule(sword::SWModule& module, bool partial, Report& report);

// Unpacks every block of the compressed text files in a module's data
// folder (ot.bzz, nt.czz...) with libsword's decompressor for `compression`
// ("ZIP", "LZSS", "BZIP2", "XZ") and checks that each gives the size its
// block index says. Throws ImportError naming the Testament and its file
// when one does not: libsword itself would only give empty verses.
void CheckSwordBlocks(const std::filesystem::path& dataFolder, const std::string& compression);

}  // namespace lorvane::importer
