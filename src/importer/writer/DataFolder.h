#pragma once

// Writing a whole data folder: the five table files and the page archive,
// put in place only once every file is complete.

#include <filesystem>
#include <string>
#include <vector>

#include "ArchiveWriter.h"
#include "BibleData.h"
#include "Pages.h"

namespace lorvane::importer {

// The pages as archive members: stored name = file name, FileDate = the
// source's modification time in MS-DOS form (local time).
std::vector<archive::Member> PageMembers(const std::vector<Page>& pages);

// Writes livre.dat, bible.dat, index.dat, citat.dat (empty), refer.dat, the
// mark texte.txt that says the texts are UTF-8 and,
// when there are pages, them.dat (and its volumes) into a new folder beside
// `out`, then puts that folder in the place of `out`. An existing `out` is
// replaced only when it holds nothing but data files; otherwise nothing is
// touched and std::runtime_error says why. On any failure the new folder
// is removed and `out` stays as it was.
void WriteDataFolder(const std::filesystem::path& out, const BibleData& bible,
                     const std::vector<Page>& pages, const archive::WriterOptions& options);

// The Bible's own names of its books as the folder keeps them (livres.txt):
// one line a named book, its number, a tab and its name (UTF-8); empty when
// the source named none.
std::string OwnBookNames(const std::vector<std::string>& names);

// The names of the Bibles in their original languages that the program
// ships, UTF-8.
inline constexpr const char* kGreekBibleName =
    "Nouveau Testament grec (Byzantin, Robinson-Pierpont 2018)";
inline constexpr const char* kGreekBibleAbbreviation = "RP2018";
inline constexpr const char* kHebrewBibleName = "Ancien Testament hébreu (Codex de Leningrad)";
inline constexpr const char* kHebrewBibleAbbreviation = "WLC";

// What lorvane-data builds from.
struct BuildOptions {
    // Greek: the Byzantine text's folder (ByzantineText.h), the New
    // Testament; Hebrew: a folder of OSIS books, the Old Testament in the
    // Leningrad numbering.
    enum class Source { Usfm, Sword, Greek, Hebrew };
    Source source = Source::Usfm;
    std::string from;      // the USFM folder or archive, the SWORD module name, the folder
    bool partial = false;  // missing books are reported, not refused
    // The Bible's name and abbreviation; empty: the source's own, or the
    // shipped ones for Greek and Hebrew.
    std::string name, abbreviation;
    std::filesystem::path pages;   // the study pages' folder; empty: no them.dat
    bool strictVerseLinks = true;  // a verse link naming a missing verse is an error
    archive::WriterOptions archive;
};

// Imports the Bible, reads and checks the pages, and writes the data folder
// (defined in lorvane_importer_sword, the part of the room that reads SWORD)
// `out` when the report has no errors. Returns whether it was written.
// Throws std::runtime_error (or a filesystem error) when a source cannot be
// read or the folder cannot be written.
bool BuildDataSet(const BuildOptions& options, const std::filesystem::path& out, Report& report);

// True for the names a data folder holds: the five tables, them.dat and
// its volumes them.002 ... them.999, the Bible's name and short name (nom.txt,
// sigle.txt), the text's mark (texte.txt), the own book names (livres.txt),
// the numbering (numerotation.txt) and the tagged words (mots.txt).
bool IsDataFileName(const std::string& name);

}  // namespace lorvane::importer
