#pragma once

// A SWORD Strong's lexicon (Debian's sword-dict-strongs-greek and
// sword-dict-strongs-hebrew: StrongsGreek, StrongsHebrew) read through
// libsword, every entry made plain (StrongsLexicon.h), for the dictionary
// files beside the program. Only the build's tools use it.

#include <filesystem>
#include <string>
#include <vector>

#include "Report.h"
#include "StrongsDictionary.h"

namespace lorvane::importer {

struct StrongsLexicon {
    char language = 0;                         // 'G' or 'H'
    std::vector<words::StrongsEntry> entries;  // in number order
    std::vector<std::string> about;            // the module, its version, its licence
    int leftOut = 0;  // keys that are not numbers, entries that do not read
};

// The lexicon `module` of the system's SWORD libraries. Throws ImportError
// when it is not installed, is not a Greek or Hebrew Strong's lexicon, or
// has no entry that reads.
StrongsLexicon ImportStrongsLexicon(const std::string& module, Report& report);

// The same from the library at `root` (the folder holding mods.d/) alone.
StrongsLexicon ImportStrongsLexiconLibrary(const std::filesystem::path& root,
                                           const std::string& module, Report& report);

// The dictionary file of a lexicon (FormatStrongsFile), its source and
// licence in the comment lines.
std::string StrongsFileOf(const StrongsLexicon& lexicon);

}  // namespace lorvane::importer
