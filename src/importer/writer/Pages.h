#pragma once

// The study pages: read from their UTF-8 sources, turned into Windows-1252,
// and their links checked against each other and against the Bible that
// goes with them.

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "Report.h"
#include "VerseIndex.h"

namespace lorvane::importer {

struct Page {
    std::string name;   // the file name, "livres.htm"
    std::string bytes;  // Windows-1252 HTML
    std::time_t modified = 0;
};

// Every *.htm file of a folder, in name order. A charset declaration of
// UTF-8 is rewritten to windows-1252; a page with a <HEAD> and no charset
// declaration gets one. Throws std::runtime_error when the
// folder holds no page or a page cannot be read or has a character that
// Windows-1252 lacks (with its line and column).
std::vector<Page> LoadPages(const std::filesystem::path& folder);

// One link or anchor target of a page.
struct Link {
    std::string href;
    int line = 0;
};

// The href values (entities &amp; decoded) and the anchor names (a name=,
// any id=) of a page, and the names of the tags it has that pages must not
// have (script, embedded resources).
struct PageLinks {
    std::vector<Link> hrefs;
    std::vector<std::string> anchors;
    std::vector<Link> forbidden;  // "script", "src=...", ...
};
PageLinks ScanPage(const std::string& html);

// Checks the pages as a set: livres.htm, index.htm and glossaire.htm are
// there; livres.htm links every book 1-66 and no verse (its other links are
// warnings: its pane does not follow them); the glossary has
// an anchor per letter A-Z and per table of measures; every verse link
// ("43:3:16", "43:3:16-18") names verses the Bible has; every page link
// names a page of the set, and its anchor an anchor of that page; no
// script and no outside resource. Problems are errors in the report,
// except verse links naming missing verses when `strictVerseLinks` is
// false (a Bible numbered otherwise than the one the pages were written
// for): those are warnings.
void CheckPages(const std::vector<Page>& pages, const VerseIndex& verses, bool strictVerseLinks,
                Report& report);

}  // namespace lorvane::importer
