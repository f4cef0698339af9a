#pragma once

// SWORD modules written by the tests through libsword's own writers, in
// each driver and compression, laid out as a SWORD library (mods.d/ and
// modules/texts/...), and zipped as a SWORD repository gives them.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "ZipFixtures.h"

namespace lorvane::testing {

struct SwordModuleRecipe {
    std::string name = "BibleEssai";
    std::string driver = "zText";     // RawText, RawText4, zText, zText4
    std::string compression = "ZIP";  // ZIP, LZSS, BZIP2, XZ (z drivers)
    std::string markup = "OSIS";      // the SourceType line
    std::string extraConf;            // lines added to the .conf
    // (OSIS key, entry as stored); the default: Genèse 1:1-3 with a title
    // and Jean 1:1 with a note and a cross-reference.
    std::vector<std::pair<std::string, std::string>> verses = DefaultVerses();
    // (OSIS key, OSIS key of the verse whose entry it shares), as a
    // commentary links the verses of a passage to one entry.
    std::vector<std::pair<std::string, std::string>> links;
    // The ModDrv the .conf names when not `driver`: a commentary's ("zCom")
    // over the files of the text driver, which are the same.
    std::string confDriver;

    static std::vector<std::pair<std::string, std::string>> DefaultVerses();
};

// Writes the module into the library folder `root`; returns its .conf.
std::filesystem::path WriteSwordModule(const std::filesystem::path& root,
                                       const SwordModuleRecipe& recipe);

// Every file under `root`, by its path relative to it.
ZipEntries FolderEntries(const std::filesystem::path& root);

}  // namespace lorvane::testing
