#pragma once

// The files of a USFM Bible, read into memory from where the reader keeps
// them: a folder of book files, one book file of such a folder (the whole
// folder is meant), or an archive as it was downloaded (zip and the other
// formats libarchive reads). An archive is never extracted: its entries are
// read in memory, their paths ignored, and only those named *.usfm or *.sfm
// (any case) are kept. Reading stops at the size caps, so that a small
// hostile archive cannot fill the memory.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "Reasons.h"

namespace lorvane::importer {

// What the reader is told of a file that holds no Bible of a known form.
inline constexpr const char* kNoBibleHere =
    "Ce fichier ne contient aucune Bible que Lorvane sache lire : il faut un fichier USFM, "
    "OSIS, Zefania ou USFX, ou une archive qui en contient.";

struct SourceFile {
    std::string name;   // the file name, without the entry's folders
    std::string bytes;  // as stored
};

struct SourceLimits {
    std::size_t perFile = std::size_t{32} << 20;  // uncompressed bytes of one entry
    std::size_t total = std::size_t{256} << 20;   // of all the entries kept
};

// Called between files; returning true cancels (ImportCancelled).
using CancelCheck = std::function<bool()>;

// Whether a file name is one of a USFM book: *.usfm or *.sfm in any case.
bool IsUsfmFileName(const std::string& name);

// The USFM files of an archive, in the archive's order. Throws ImportError:
// kDamagedDownload when it cannot be read, a refusal naming
// the cap when an entry or the whole exceeds it.
std::vector<SourceFile> ReadUsfmArchive(const std::filesystem::path& archive,
                                        const SourceLimits& limits = {},
                                        const CancelCheck& cancelled = {});

// The set a book file belongs to where several were unpacked in one
// folder: the name after its number and book code, "fraLSG" for
// "02-GENfraLSG.usfm", "" for "GEN.usfm".
std::string BookFileSet(const std::string& name);

// The USFM files of a folder, in name order (each under the same caps);
// when sameSetAs names one of them, only those of its set (BookFileSet).
std::vector<SourceFile> ReadUsfmFolder(const std::filesystem::path& folder,
                                       const SourceLimits& limits = {},
                                       const CancelCheck& cancelled = {},
                                       const std::string& sameSetAs = {});

// The files of a folder named *.xml whose first bytes are of an XML form
// (OSIS, Zefania, USFX), in name order, under the same caps: a Bible kept
// one book a file (Gen.xml … Mal.xml). The others are passed over.
std::vector<SourceFile> ReadXmlFolder(const std::filesystem::path& folder,
                                      const SourceLimits& limits = {},
                                      const CancelCheck& cancelled = {});

// A folder (its USFM files, or its XML files when it has none), a USFM
// file (the files of its set in its folder), a file of
// another form that DetectBibleForm knows, or an archive (any other file),
// of which the entries named as USFM books and those whose first bytes are
// of a known form are read.
std::vector<SourceFile> ReadUsfmSource(const std::filesystem::path& path,
                                       const SourceLimits& limits = {},
                                       const CancelCheck& cancelled = {});

}  // namespace lorvane::importer
