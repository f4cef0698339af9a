#include <system_error>

#include "DataFolder.h"
#include "Sword.h"
#include "Usfm.h"

namespace lorvane::importer {

namespace fs = std::filesystem;

bool BuildDataSet(const BuildOptions& options, const fs::path& out, Report& report) {
    BibleData bible;
    if (options.source == BuildOptions::Source::Sword) {
        bible = ImportSword(options.from, report);
    } else if (options.partial) {
        UsfmImportOptions usfm;
        usfm.partial = true;
        bible = ImportUsfmFiles(ReadUsfmSource(options.from), "USFM " + options.from, usfm, report);
    } else {
        bible = ImportUsfm(options.from, report);
    }
    std::vector<Page> pages;
    if (!options.pages.empty()) {
        pages = LoadPages(options.pages);
        CheckPages(pages, VerseIndex(bible.verses), options.strictVerseLinks, report);
    }
    if (report.HasErrors()) return false;
    WriteDataFolder(out, bible, pages, options.archive);
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
