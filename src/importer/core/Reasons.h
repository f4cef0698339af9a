#pragma once

// The reasons a reader is told when an import cannot read its file or
// write its folder, in French: the system's own texts are English.

#include <cstdint>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "FileIo.h"

namespace lorvane::importer {

// A failure of an import that the reader is told about, in French.
class ImportError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The reader cancelled the import.
class ImportCancelled : public std::runtime_error {
  public:
    ImportCancelled() : std::runtime_error("Importation annulée.") {}
};

// The file layer's French reason for an errno ("accès refusé"...) and its
// test of a full disk (no space, the reader's quota, a file size limit).
using lorvane::FrenchReason;
using lorvane::IsNoSpace;

// The message of a file that cannot be read: « Impossible de lire le
// fichier « path » : accès refusé. »
std::string UnreadableFile(const std::filesystem::path& path, int error);

// Writes and removes a file of 1 MB in the folder: the errno of the first
// failure, 0 when it could be written.
int WriteProbe(const std::filesystem::path& folder);

// « L'espace disque est insuffisant dans le dossier « folder » (il faut
// environ 12 Mo). »: `needed` bytes rounded to whole Mo, at least 1.
std::string NoSpaceIn(const std::filesystem::path& folder, std::uintmax_t needed);

// Whether the disk of `folder` is full after a failure: its errno (0 when
// it kept none) or a probe (WriteProbe) says so, or the disk has less than
// `needed` bytes free.
bool DiskFull(const std::filesystem::path& folder, std::uintmax_t needed, int error = 0);

// About what a whole Bible's data set takes: its tables, and the study
// pages copied and unpacked beside them.
inline constexpr std::uintmax_t kTypicalBibleBytes = std::uintmax_t{12} << 20;

// The message of a data folder that could not be written. The failure
// rarely says why (the file streams keep no errno), so the folder is tried
// again (WriteProbe): a full disk (or a file size limit) is NoSpaceIn(folder,
// needed), any other reason « Impossible d'écrire dans le dossier « folder »
// : reason. »
std::string UnwritableFolder(const std::filesystem::path& folder, const std::exception& failure,
                             std::uintmax_t needed);

// An archive that ends early or whose data do not unpack.
inline constexpr const char* kDamagedDownload =
    "Le fichier est incomplet ou endommagé (téléchargement interrompu ?) : téléchargez-le de "
    "nouveau.";

}  // namespace lorvane::importer
