#pragma once

// The SWORD importer: a Bible module installed for libsword, read verse by
// verse in the module's own versification. Only the 66 books go into the
// data (the deuterocanonical books are counted and skipped). Verse text
// comes from SWORD's own plain-text filters; from OSIS modules also the
// titles (section titles and psalm titles, as "E" headings before their
// verse) and the cross-reference notes. Book names and abbreviations are
// the module's, in its language where SWORD has that locale.

#include <string>
#include <vector>

#include "Bible.h"
#include "Report.h"

namespace lorvane::importer {

// Names of the installed SWORD Bible modules.
std::vector<std::string> SwordBibles();

// Throws std::runtime_error when the module is not installed or is not a
// Bible.
BibleData ImportSword(const std::string& module, Report& report);

}  // namespace lorvane::importer
