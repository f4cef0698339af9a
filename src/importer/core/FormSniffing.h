#pragma once

// Which form a Bible file is in, told from its first bytes rather than its
// name. The importer's ground floor: it needs nothing else of the importer,
// and the readers of the sources and of the forms build on it.

#include <cstddef>
#include <string>
#include <string_view>

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

}  // namespace lorvane::importer
