#pragma once

// The Louis Segond written in the XML forms a reader downloads, made at
// test time from its USFM folder (LsgDir): what the import of each form is
// checked against.

#include <string>

namespace lorvane::testing {

enum class XmlForm { OsisMilestones, OsisContainers, Zefania, Usfx };

// The books first..last (1-66) of the Louis Segond in a form, UTF-8, with
// its section headings and, where the form has them, its cross-references
// (OSIS as osisRef, USFX as French references); "" without the folder.
std::string LsgXml(XmlForm form, int first = 1, int last = 66);

}  // namespace lorvane::testing
