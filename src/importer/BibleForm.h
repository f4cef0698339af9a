#pragma once

// The forms a downloaded Bible comes in, told from the content of its files
// rather than their names, and the import of a source's files whatever
// their form.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "Bible.h"
#include "Report.h"
#include "Usfm.h"
#include "UsfmSource.h"

namespace lorvane::importer {

enum class BibleForm { Unknown, Usfm, Osis, Zefania, Usfx };

// The form of a file from its first bytes (a few kilobytes are enough): a
// USFM book opens with its \id line, an XML Bible is known by its root
// element (<osis>, <XMLBIBLE>, <usfx>) after the declaration, comments and
// document type. A byte-order mark (UTF-8 or UTF-16) may come first.
BibleForm DetectBibleForm(std::string_view head);

// How the summary names where a Bible came from: "un fichier OSIS",
// "des fichiers USFM", "un fichier USFM" when there was one.
std::string BibleFormName(BibleForm form, std::size_t files = 2);

struct FormBible {
    BibleData bible;
    BibleForm form = BibleForm::Unknown;
    std::size_t files = 0;     // the files of that form that were read
    std::string name;          // the Bible's own name (UTF-8), "" when the source has none
    std::string abbreviation;  // and its own abbreviation (BibleName.h)
};

// Imports the files of a source (UsfmSource.h): the form of the first file
// of a known form decides, and the files of that form make the Bible (the
// others are listed in the report). Throws ImportError when no file has a
// known form, and as the reader of the form does.
FormBible ImportBibleFiles(std::vector<SourceFile> files, const std::string& source,
                           const UsfmImportOptions& options, Report& report);

}  // namespace lorvane::importer
