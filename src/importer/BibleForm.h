#pragma once

// The import of a source's files whatever their form: the form of each
// file is told from its content (FormSniffing.h), and the reader of that
// form makes the Bible.

#include <cstddef>
#include <string>
#include <vector>

#include "BibleData.h"
#include "FormSniffing.h"
#include "Report.h"
#include "Usfm.h"
#include "UsfmSource.h"

namespace lorvane::importer {

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
