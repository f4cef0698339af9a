#pragma once

// A SWORD commentary module read through libsword: its entries as HTML
// (CommentaryHtml.h), each over the run of verses the module links to it,
// placed in the Segond's numbering. An entry that does not read, or whose
// heading names other verses than those it is stored under, is left out
// and counted: it is never placed under the wrong verse.

#include <filesystem>
#include <string>
#include <vector>

#include "Commentary.h"
#include "Report.h"
#include "SwordConf.h"

namespace lorvane::importer {

struct SwordCommentary {
    std::vector<commentary::CommentaryEntry> entries;
    int leftOut = 0;        // entries unread or misplaced
    std::string numbering;  // the module's versification
};

// The commentary module `module` of the library at `root`; the verses
// `bad` names (CheckSwordData) are not read, and count as left out. Throws
// ImportError when it holds no entry on a verse of the 66 books.
SwordCommentary ImportSwordCommentary(const std::filesystem::path& root, const std::string& module,
                                      const SwordBadVerses& bad, Report& report);

}  // namespace lorvane::importer
