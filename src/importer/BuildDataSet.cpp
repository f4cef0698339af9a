#include <fstream>
#include <sstream>
#include <system_error>

#include "BibleForm.h"
#include "BibleName.h"
#include "ByzantineText.h"
#include "Canon.h"
#include "DataFolder.h"
#include "Import.h"
#include "Sword.h"
#include "SwordConf.h"
#include "Usfm.h"

namespace lorvane::importer {

namespace fs = std::filesystem;

namespace {

// The name and abbreviation of a SWORD module of the system, from its .conf.
BibleNaming NameOfSwordModule(const std::string& module) {
    std::string lower = module;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    for (const fs::path& conf : {fs::path("/usr/share/sword/mods.d") / (lower + ".conf"),
                                 fs::path("/usr/share/sword/mods.d") / (module + ".conf")}) {
        std::ifstream in(conf, std::ios::binary);
        if (!in) continue;
        std::ostringstream bytes;
        bytes << in.rdbuf();
        try {
            const SwordConf c = ParseSwordConf(bytes.str());
            return {c.Get("Description"), c.Get("Abbreviation")};
        } catch (const std::exception&) {
        }
    }
    return {};
}

// The books first-last of the 66 that a Bible of one Testament must hold:
// those missing are an error, unless the build is partial (the readers
// list them then).
void RequireBooks(const std::vector<int>& missing, int first, int last, bool partial,
                  Report& report) {
    std::string list;
    for (int b : missing)
        if (b >= first && b <= last) list += " " + std::string(datawriter::kCanon[b - 1].code);
    if (!list.empty() && !partial) report.Error("books missing from the source:" + list);
}

}  // namespace

bool BuildDataSet(const BuildOptions& options, const fs::path& out, Report& report) {
    BibleData bible;
    // The Bible's name and abbreviation, kept beside its tables, by which
    // the reader finds it among the Bibles kept.
    BibleNaming naming;
    if (options.source == BuildOptions::Source::Sword) {
        bible = ImportSword(options.from, report);
        naming = NameImportedBible(NameOfSwordModule(options.from), options.from);
    } else if (options.source == BuildOptions::Source::Greek) {
        ByzantineText greek = ReadByzantineText(options.from, report);
        RequireBooks(MissingBooks(greek.bible), 40, kBooks, options.partial, report);
        bible = std::move(greek.bible);
        naming = {kGreekBibleName, kGreekBibleAbbreviation};
    } else if (options.source == BuildOptions::Source::Hebrew) {
        std::vector<SourceFile> files = ReadXmlFolder(options.from);
        UsfmImportOptions xml;
        xml.partial = true;  // the Old Testament alone
        FormBible read = ImportBibleFiles(std::move(files), options.from, xml, report);
        if (read.form != BibleForm::Osis)
            throw std::runtime_error("no OSIS book in " + options.from);
        RequireBooks(MissingBooks(read.bible), 1, 39, options.partial, report);
        bible = std::move(read.bible);
        // Its verses are numbered as the Hebrew Bible numbers them.
        bible.numbering = "Leningrad";
        naming = {kHebrewBibleName, kHebrewBibleAbbreviation};
    } else {
        // The books are read once, for their name and their text.
        std::vector<SourceFile> files =
            options.partial ? ReadUsfmSource(options.from) : ReadUsfmBooks(options.from);
        naming = NameImportedBible(NameFromUsfmBooks(files), options.from);
        UsfmImportOptions usfm;
        usfm.partial = options.partial;
        bible = ImportUsfmFiles(std::move(files), "USFM " + options.from, usfm, report);
    }
    if (!options.name.empty()) naming.name = options.name;
    if (!options.abbreviation.empty()) naming.abbreviation = options.abbreviation;
    std::vector<Page> pages;
    if (!options.pages.empty()) {
        pages = LoadPages(options.pages);
        CheckPages(pages, VerseIndex(bible.verses), options.strictVerseLinks, report);
    }
    if (report.HasErrors()) return false;
    WriteDataFolder(out, bible, pages, options.archive);
    std::ofstream(out / kNameFile, std::ios::binary) << naming.name << "\n";
    std::ofstream(out / kAbbreviationFile, std::ios::binary) << naming.abbreviation << "\n";
    std::error_code ec;
    std::uintmax_t size = 0;
    for (fs::directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename().string().compare(0, 5, "them.") == 0) size += it->file_size(ec);
    if (!pages.empty())
        report.Summary("them.dat: " + std::to_string(pages.size()) + " pages, " +
                       std::to_string(size) + " bytes");
    return true;
}

}  // namespace lorvane::importer
